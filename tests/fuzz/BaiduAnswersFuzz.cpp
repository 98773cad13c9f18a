// The cuts that take Baidu's answers apart, on arbitrary text.
#include <cstddef>
#include <cstdint>

#include "engine/baidu/BaiduAnswers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (baidu::CutValue(text, u"BDUSS", 6, u";").size() > text.size()) __builtin_trap();
    if (baidu::CutValue(text, u"_token='", 8, u"';").size() > text.size()) __builtin_trap();
    if (baidu::DisplayNameOf(text).size() > text.size()) __builtin_trap();
    if (baidu::ChooseFiles(text).isEmpty()) __builtin_trap();
    (void)baidu::IsErrorAnswer(text);
    QString vcode, image;
    if (baidu::ReadVerificationRequest(text, vcode, image) &&
        (vcode.size() > text.size() || image.size() > text.size()))
        __builtin_trap();
    return 0;
}
