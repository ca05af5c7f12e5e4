// A 20-symbol formula parsed once and evaluated for twelve months, against the same formula
// written in C++. Run from a Release build:
//   build-release/bin/kvz_bench_expression
// items_per_second is evaluations per second. The ratios of the medians of the engine's ways to
// the C++ of the same run are printed at the end; the compiled expression's (fields set, then
// evaluated, as the formula engines do) is the interpreter's cost.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>

#include "bench/BenchRun.h"
#include "platform/plvparser/Expression.h"

namespace {

constexpr int kSymbols = 20;
constexpr const char* kFormula =
	"(_S01 + _S02 + _S03 + _S04) * 1.5 - (_S05 + _S06) / 2 + _S07 * _S08 - _S09 + _S10 / _S11"
	" + (_S12 - _S13) * (_S14 + _S15) + _S16 - _S17 * 0.25 + _S18 + _S19 - _S20";

double Direct(const double* s)
{
	return (s[0] + s[1] + s[2] + s[3]) * 1.5 - (s[4] + s[5]) / 2 + s[6] * s[7] - s[8] + s[9] / s[10] +
		   (s[11] - s[12]) * (s[13] + s[14]) + s[15] - s[16] * 0.25 + s[17] + s[18] - s[19];
}

// The symbols' values for the twelve months.
std::array<std::array<double, kSymbols>, 12> MonthValues()
{
	std::array<std::array<double, kSymbols>, 12> v{};
	for (int m = 0; m < 12; ++m)
		for (int i = 0; i < kSymbols; ++i)
			v[m][i] = 1000.0 * (i + 1) + 37.5 * m + 0.01 * i * m;
	return v;
}

// The table of the symbols _S01 .. _S20.
std::array<SymField*, kSymbols> AddSymbols(SymTable& table)
{
	std::array<SymField*, kSymbols> fields{};
	for (int i = 0; i < kSymbols; ++i)
	{
		char name[8];
		std::snprintf(name, sizeof name, "_S%02d", i + 1);
		fields[i] = table.Add(name, DataType::Double);
		fields[i]->SetValue(i + 1.5);
	}
	return fields;
}

void BM_DirectCpp(benchmark::State& state)
{
	auto values = MonthValues();
	for (auto _ : state)
	{
		benchmark::DoNotOptimize(values.data());
		for (int m = 0; m < 12; ++m)
		{
			double r = Direct(values[m].data());
			benchmark::DoNotOptimize(r);
		}
		benchmark::ClobberMemory();
	}
	state.SetItemsProcessed(state.iterations() * 12);
}
BENCHMARK(BM_DirectCpp)->Repetitions(3);

// The engine's way: parse once, then per month set the fields and evaluate (SymField::SetValues,
// as the formula engine does).
void BM_CompiledExpression(benchmark::State& state)
{
	auto values = MonthValues();
	SymTable table;
	auto fields = AddSymbols(table);
	Parser parser(kFormula);
	Expression expr(&table);
	if (!expr.Parse(parser, DataType::Double, 1))
	{
		state.SkipWithError(expr.GetErrorMessage().GetString());
		return;
	}
	for (auto _ : state)
	{
		benchmark::DoNotOptimize(values.data());
		for (int m = 0; m < 12; ++m)
		{
			SymField::SetValues(fields, [&](size_t i) { return values[m][i]; });
			double r = 0;
			expr.Eval(r);
			benchmark::DoNotOptimize(r);
		}
		benchmark::ClobberMemory();
	}
	state.SetItemsProcessed(state.iterations() * 12);
}
BENCHMARK(BM_CompiledExpression)->Repetitions(3);

// Evaluation alone, the fields keeping their values.
void BM_EvalOnly(benchmark::State& state)
{
	SymTable table;
	AddSymbols(table);
	Parser parser(kFormula);
	Expression expr(&table);
	expr.Parse(parser);
	for (auto _ : state)
	{
		for (int m = 0; m < 12; ++m)
		{
			double r = 0;
			expr.Eval(r);
			benchmark::DoNotOptimize(r);
		}
	}
	state.SetItemsProcessed(state.iterations() * 12);
}
BENCHMARK(BM_EvalOnly)->Repetitions(3);

// Parsing itself, for a run that meets many distinct formulas.
void BM_Parse(benchmark::State& state)
{
	SymTable table;
	AddSymbols(table);
	for (auto _ : state)
	{
		Parser parser(kFormula);
		Expression expr(&table);
		benchmark::DoNotOptimize(expr.Parse(parser));
	}
	state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Parse);

}  // namespace

int main(int argc, char** argv)
{
	benchmark::Initialize(&argc, argv);
	if (benchmark::ReportUnrecognizedArguments(argc, argv))
		return 1;
	kvzbench::TempiReporter reporter;
	benchmark::RunSpecifiedBenchmarks(&reporter);
	for (const char* name : {"BM_CompiledExpression", "BM_EvalOnly"})
		if (auto c = reporter.Confronta(name, "BM_DirectCpp"))
			std::printf("%s: %.1f ns per evaluation, %.2f times the formula in C++ (%.2f ns)\n", name,
						c->tempo * 1e9 / 12, c->Volte(), c->base * 1e9 / 12);
	benchmark::Shutdown();
	return 0;
}
