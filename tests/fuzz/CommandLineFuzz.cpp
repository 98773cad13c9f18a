// The Windows command-line splitter on arbitrary text.
#include <cstddef>
#include <cstdint>

#include "engine/text/WindowsCommandLine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString line =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    qsizetype characters = 0;
    for (const QString& argument : SplitWindowsCommandLine(line)) characters += argument.size();
    if (characters > line.size()) __builtin_trap();
    return 0;
}
