// The eD2k answer decoder: time per answer (every record of a plain 1 MiB and a packed 2 MiB
// answer), and the memory a session needs to decode the packed one.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "Ed2kAnswer.h"
#include "engine/ed2k/SearchAnswerDecoder.h"

namespace {

// Every result of the answer is decoded, past the program's limit per answer: the figures are
// those of the whole answer.
constexpr int kAll = 1 << 30;

// An answer of about bytes bytes: as many hits as fit.
std::vector<devnet::Ed2kHit> HitsOfSize(std::size_t bytes) {
    std::vector<devnet::Ed2kHit> hits;
    std::size_t total = 10;
    int seed = 0;
    while (total < bytes) {
        for (const auto& hit :
             devnet::Ed2kHitsFor("benchmark keyword", static_cast<std::uint32_t>(seed++), 60)) {
            const std::size_t record = devnet::EncodeRecord(hit).size();
            if (total + record >= bytes) return hits;
            total += record;
            hits.push_back(hit);
        }
    }
    return hits;
}

const std::vector<std::uint8_t>& PlainAnswer() {
    static const auto answer = devnet::SearchAnswerPacket(HitsOfSize(1048575), false);
    return answer;
}

const std::vector<std::uint8_t>& PackedAnswer() {
    static const auto answer = devnet::SearchAnswerPacket(HitsOfSize(2097152), true);
    return answer;
}

void BM_DecodePlain1MiB(benchmark::State& state) {
    const auto& answer = PlainAnswer();
    for (auto _ : state) {
        QStringList results;
        benchmark::DoNotOptimize(
            ed2k::DecodeSearchAnswer(answer.data(), answer.size(), results, nullptr, kAll));
    }
    state.counters["answer_bytes"] = static_cast<double>(answer.size());
}

void BM_DecodePacked2MiB(benchmark::State& state) {
    const auto& answer = PackedAnswer();
    for (auto _ : state) {
        QStringList results;
        benchmark::DoNotOptimize(
            ed2k::DecodeSearchAnswer(answer.data(), answer.size(), results, nullptr, kAll));
    }
}

BENCHMARK(BM_DecodePlain1MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodePacked2MiB)->Unit(benchmark::kMillisecond);

// Resident memory of this process in KiB, as /proc/self/status gives it (VmRSS, VmHWM).
long StatusKiB(const char* key) {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (status == nullptr) return -1;
    char line[256];
    long value = -1;
    const std::size_t length = std::strlen(key);
    while (std::fgets(line, sizeof line, status) != nullptr)
        if (std::strncmp(line, key, length) == 0) value = std::atol(line + length + 1);
    std::fclose(status);
    return value;
}

// Peak resident memory of one session decoding the packed answer, beyond its receive buffer:
// the peak is reset (clear_refs 5) after the buffer is filled, and read after the decode.
void ReportPeakMemory() {
    const auto& answer = PackedAnswer();
    std::vector<std::uint8_t> receiveBuffer(1048576);
    std::memcpy(receiveBuffer.data(), answer.data(), answer.size());
    ::malloc_trim(0);
    if (std::FILE* clear = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", clear);
        std::fclose(clear);
    }
    const long before = StatusKiB("VmRSS:");
    QStringList results;
    ed2k::DecodeSearchAnswer(receiveBuffer.data(), answer.size(), results, nullptr, kAll);
    const long peak = StatusKiB("VmHWM:");
    const long after = StatusKiB("VmRSS:");
    std::printf(
        "packed answer of %zu bytes (inflates to about 2 MiB, %lld result texts): peak "
        "resident memory while decoding %.2f MiB beyond the receive buffer, of which the "
        "results kept afterwards %.2f MiB\n",
        answer.size(), static_cast<long long>(results.size()), (peak - before) / 1024.0,
        (after - before) / 1024.0);
}

}  // namespace

int main(int argc, char** argv) {
    ReportPeakMemory();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
