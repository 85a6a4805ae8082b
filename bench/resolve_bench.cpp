// One resolution of a game member by its full name, in a table about the size the
// game fills: what every typed access pays, since nothing is cached.
#include <string>

#include <benchmark/benchmark.h>

#include "Resolve.h"
#include "framework/members.h"

namespace {

void Dummy() {}

void RegisterDummyMembers()
{
    for (int i = 0; i < 400; ++i) {
        sim::Member member;
        member.function = reinterpret_cast<void*>(&Dummy);
        sim::RegisterMember("UBenchObject.Function" + std::to_string(i) + "(int,float,FString&)", member);
    }
}

void BM_ResolveFunction(benchmark::State& state)
{
    RegisterDummyMembers();
    constexpr std::string_view name = "UBenchObject.Function257(int,float,FString&)";
    for (auto _ : state)
        benchmark::DoNotOptimize(GetAddress(name));
}
BENCHMARK(BM_ResolveFunction);

}  // namespace
