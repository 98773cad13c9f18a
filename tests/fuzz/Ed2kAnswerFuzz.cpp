// The eD2k search answer decoder on arbitrary bytes. An input that starts with 'Z' stands for a
// packed answer whose payload is the rest: it is packed here, so that the fuzzer can explore the
// records behind the inflater as well as the inflater's input.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/ed2k/SearchAnswerDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> answer;
    if (size > 0 && data[0] == 'Z') {
        uLongf length = compressBound(size - 1);
        answer.resize(6 + length);
        compress2(answer.data() + 6, &length, data + 1, size - 1, 1);
        answer.resize(6 + length);
        answer[0] = 0xD4;
        answer[5] = 0x33;
    } else {
        answer.assign(data, data + size);
    }
    QStringList results;
    std::vector<std::uint32_t> complete;
    const int value = ed2k::DecodeSearchAnswer(answer.data(), answer.size(), results, &complete);
    // Four texts and one count per result, and results only when some were announced.
    if (results.size() != 4 * static_cast<qsizetype>(complete.size())) __builtin_trap();
    if (value <= 0 && !results.isEmpty()) __builtin_trap();
    for (qsizetype i = 0; i < results.size(); ++i)
        if (results[i].isEmpty()) __builtin_trap();
    return 0;
}
