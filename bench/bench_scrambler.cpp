// Throughput of the text core on 1, 10 and 100 MB of short CJK lines, as UTF-8 and UTF-16.
#include "bench/textgen.h"
#include "scrambler/scrambler.h"

#include <benchmark/benchmark.h>
#include <map>
#include <type_traits>

using namespace zanvo;

namespace {

constexpr std::size_t MB = 1000 * 1000;

template<class String> const String &text(std::size_t bytes)
{
    // Generated once per size: building 100 MB of text takes longer than scrambling it.
    static std::map<std::size_t, String> cache;
    auto [it, fresh] = cache.try_emplace(bytes);
    if (fresh) {
        if constexpr (std::is_same_v<String, std::string>)
            it->second = bench::cjkLinesUtf8(bytes);
        else
            it->second = bench::cjkLinesUtf16(bytes);
    }
    return it->second;
}

template<class String, class Op> void run(benchmark::State &state, Op op)
{
    const auto &t = text<String>(static_cast<std::size_t>(state.range(0)) * MB);
    RandomSource random(1);
    for (auto _ : state)
        benchmark::DoNotOptimize(op(t, random));
    state.SetBytesProcessed(
        state.iterations()
        * static_cast<std::int64_t>(t.size() * sizeof(typename String::value_type)));
}

template<class String> void BM_LineFilter(benchmark::State &state)
{
    run<String>(state, [](const String &t, RandomSource &) { return LineFilter(t); });
}

template<class String> void BM_RndLine(benchmark::State &state)
{
    run<String>(state, [](const String &t, RandomSource &r) { return RndLine(t, r); });
}

template<class String> void BM_RndLineOfLineFilter(benchmark::State &state)
{
    run<String>(state, [](const String &t, RandomSource &r) { return scramble(t, r); });
}

// The one-pass chain into a buffer that outlives the iterations: the work itself, without the
// first touch of a fresh output buffer, which on some virtual machines costs more than the work.
template<class String> void BM_RndLineOfLineFilterIntoBuffer(benchmark::State &state)
{
    using CharT = typename String::value_type;
    const auto &t = text<String>(static_cast<std::size_t>(state.range(0)) * MB);
    String buffer(t.size() * 2, CharT());
    RandomSource random(1);
    for (auto _ : state) {
        struct Sink {
            CharT *at;
            void reserve(std::size_t) { }
            void write(const CharT *p, std::size_t n)
            {
                std::char_traits<CharT>::copy(at, p, n);
                at += n;
            }
        };
        scrambleTo(std::basic_string_view<CharT>(t), random, LineBreak::CrLf, Sink {buffer.data()});
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetBytesProcessed(state.iterations()
                            * static_cast<std::int64_t>(t.size() * sizeof(CharT)));
}

// The count that sizes the line table, against a plain count of the line feeds: the share of the
// split that sizing the table for the kept lines alone costs.
template<class String> void BM_CountKeptLines(benchmark::State &state)
{
    run<String>(state, [](const String &t, RandomSource &) {
        return countLines(std::basic_string_view<typename String::value_type>(t), LineBreak::CrLf,
                          true);
    });
}

template<class String> void BM_CountLineFeeds(benchmark::State &state)
{
    run<String>(state, [](const String &t, RandomSource &) {
        return countLineFeeds(std::basic_string_view<typename String::value_type>(t));
    });
}

void sizes(benchmark::internal::Benchmark *b)
{
    b->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond)->UseRealTime();
}

} // namespace

BENCHMARK(BM_LineFilter<std::string>)->Apply(sizes);
BENCHMARK(BM_RndLine<std::string>)->Apply(sizes);
BENCHMARK(BM_RndLineOfLineFilter<std::string>)->Apply(sizes);
BENCHMARK(BM_RndLineOfLineFilterIntoBuffer<std::string>)->Apply(sizes);
BENCHMARK(BM_CountLineFeeds<std::string>)->Apply(sizes);
BENCHMARK(BM_CountKeptLines<std::string>)->Apply(sizes);
BENCHMARK(BM_LineFilter<std::u16string>)->Apply(sizes);
BENCHMARK(BM_RndLine<std::u16string>)->Apply(sizes);
BENCHMARK(BM_RndLineOfLineFilter<std::u16string>)->Apply(sizes);
BENCHMARK(BM_RndLineOfLineFilterIntoBuffer<std::u16string>)->Apply(sizes);

BENCHMARK(BM_CountLineFeeds<std::u16string>)->Apply(sizes);
BENCHMARK(BM_CountKeptLines<std::u16string>)->Apply(sizes);

BENCHMARK_MAIN();
