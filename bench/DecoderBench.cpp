// The eD2k answer decoder: time per answer, against one plain scan of the same hex image, and
// the heap a session needs to decode a packed answer.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "Ed2kAnswer.h"
#include "ed2k/HexText.h"
#include "ed2k/SearchAnswerDecoder.h"

namespace {

std::atomic<long long> g_current{0};
std::atomic<long long> g_peak{0};

// An answer of about bytes bytes: as many hits as fit.
std::vector<devnet::Ed2kHit> HitsOfSize(std::size_t bytes) {
    std::vector<devnet::Ed2kHit> hits;
    std::size_t total = 10;
    int seed = 0;
    while (total < bytes) {
        for (const auto& hit : devnet::Ed2kHitsFor("benchmark keyword", static_cast<std::uint32_t>(seed++), 60)) {
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
        benchmark::DoNotOptimize(ed2k::DecodeSearchAnswer(answer.data(), answer.size(), results));
    }
    state.counters["answer_bytes"] = static_cast<double>(answer.size());
}

void BM_DecodePacked2MiB(benchmark::State& state) {
    const auto& answer = PackedAnswer();
    for (auto _ : state) {
        QStringList results;
        benchmark::DoNotOptimize(ed2k::DecodeSearchAnswer(answer.data(), answer.size(), results));
    }
}

// The floor: one memchr pass over a hex image of the given size (bytes of answer).
void ScanImage(benchmark::State& state, std::size_t answerBytes) {
    std::vector<std::uint8_t> bytes(answerBytes, 0x5A);
    std::string image;
    AppendHexImage(bytes.data(), bytes.size(), image);
    for (auto _ : state) benchmark::DoNotOptimize(std::memchr(image.data(), 'X', image.size()));
}
void BM_ScanHexImage1MiB(benchmark::State& state) { ScanImage(state, 1048576); }
void BM_ScanHexImage2MiB(benchmark::State& state) { ScanImage(state, 2097152); }

BENCHMARK(BM_DecodePlain1MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanHexImage1MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodePacked2MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanHexImage2MiB)->Unit(benchmark::kMillisecond);

void ReportPeakHeap() {
    const auto& answer = PackedAnswer();
    QStringList results;
    const long long before = g_current.load();
    g_peak = before;
    ed2k::DecodeSearchAnswer(answer.data(), answer.size(), results);
    std::printf("packed answer of %zu bytes (inflates to about 2 MiB): peak heap while decoding "
                "%.2f MiB beyond the receive buffer (results included: %lld texts)\n",
                answer.size(), static_cast<double>(g_peak.load() - before) / 1048576.0,
                static_cast<long long>(results.size()));
}

}  // namespace

void* operator new(std::size_t size) {
    void* p = std::malloc(size + 16);
    if (p == nullptr) throw std::bad_alloc();
    *static_cast<std::size_t*>(p) = size;
    const long long now = g_current += static_cast<long long>(size);
    long long peak = g_peak.load();
    while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
    }
    return static_cast<char*>(p) + 16;
}
void operator delete(void* p) noexcept {
    if (p == nullptr) return;
    char* block = static_cast<char*>(p) - 16;
    g_current -= static_cast<long long>(*reinterpret_cast<std::size_t*>(block));
    std::free(block);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete[](void* p) noexcept { operator delete(p); }
void operator delete[](void* p, std::size_t) noexcept { operator delete(p); }

int main(int argc, char** argv) {
    ReportPeakHeap();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
