// The import of extra-accounting codes from a fixed-width file of 100,000 lines (2,000 codes,
// twelve months, four formula slots, CR LF), into empty tables and again over its own rows,
// against reading and cutting the same lines without the database. Prints the ratios at the end.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "bench/BenchRun.h"
#include "kvznet/kvzmod/kvzbatch/ImpCodExtracont.h"
#include "kvznet/kvzmod/kvzbatch/RigaCodExtracont.h"
#include "platform/plvgeneric/LineFile.h"
#include "platform/plvgeneric/Settings.h"
#include "platform/plvges/FormDriver.h"

namespace {
std::unique_ptr<SqlConnection> g_pConn;
std::string g_File;
long g_Righe = 0;

std::string Campo(const std::string& t, size_t w)
{
	return t.size() >= w ? t.substr(0, w) : t + std::string(w - t.size(), ' ');
}

void ScriviFile()
{
	std::ofstream out(g_File, std::ios::binary);
	for (int c = 0; c < 2000; ++c)
		for (int m = 1; m <= 12; ++m)
			for (int slot : {0, 1, 2, 10})
			{
				const std::string codice = "COD" + std::to_string(c);
				out << "2026" << Campo(codice, 26) << Campo("Codice extracontabile numero " + std::to_string(c), 64)
					<< (m < 10 ? " " : "") << m << Campo("_ORE*" + std::to_string(c % 7 + 1) + "+" + std::to_string(m), 50)
					<< (slot < 10 ? " " : "") << slot << "\r\n";
				++g_Righe;
			}
	// Some more lines to 100,000, a few of them wrong.
	for (long i = g_Righe; i < 100000; ++i, ++g_Righe)
		out << "2026" << Campo("EXTRA" + std::to_string(i % 500), 26) << Campo("", 64) << (i % 97 == 0 ? "13" : " 6")
			<< "1\r\n";
}

BOOL Importa()
{
	CDocumentSet docs;
	FormDriver form(FormDriver::Open(docs, RUNTIME_CLASS(Kvz_CImpCodExtracontDoc), RUNTIME_CLASS(CBatchFrame),
									 RUNTIME_CLASS(Kvz_CImpCodExtracontView)));
	form.Type("Nome del file da importare:", CString(g_File));
	return form.RunBatch();
}

void BM_ImpCodExtracont_Prima(benchmark::State& state)
{
	for (auto _ : state)
	{
		state.PauseTiming();
		g_pConn->ExecuteSQL("DELETE FROM Kvz_CodExtracontabili");
		g_pConn->ExecuteSQL("DELETE FROM Kvz_CodExtracontabiliMesi");
		state.ResumeTiming();
		if (!Importa())
			state.SkipWithError("import failed");
	}
	state.counters["righe/s"] = benchmark::Counter(double(g_Righe) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ImpCodExtracont_Prima)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(3);

void BM_ImpCodExtracont_Ripetuta(benchmark::State& state)
{
	for (auto _ : state)
		if (!Importa())
			state.SkipWithError("import failed");
	state.counters["righe/s"] = benchmark::Counter(double(g_Righe) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ImpCodExtracont_Ripetuta)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(3);

// The baseline: the same lines read and cut, nothing written.
void BM_LetturaFile(benchmark::State& state)
{
	long lette = 0;
	for (auto _ : state)
	{
		CLineFile file;
		file.Open(g_File.c_str(), CLineFile::modeRead | CLineFile::typeText);
		CString line;
		kvzbatch::RigaCodExtracont riga;
		for (lette = 0; file.ReadString(line, kvzbatch::kMaxCaratteriRiga); ++lette)
			benchmark::DoNotOptimize(kvzbatch::LeggiRigaCodExtracont(line, riga));
	}
	state.counters["righe"] = double(lette);
}
BENCHMARK(BM_LetturaFile)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(3);
}  // namespace

int main(int argc, char** argv)
{
	kvzbench::Esecuzione run(argc, argv, "codici", g_pConn);
	if (!run)
		return 1;
	AfxSetSettingsRoot(CString((run.Cartella() / "settings").string()));
	if (!kvzbench::ApriAzienda(g_pConn, run.Cartella()))
		return 1;
	g_File = (run.Cartella() / "codici.txt").string();
	ScriviFile();
	std::printf("File of %ld lines\n", g_Righe);
	kvzbench::TempiReporter reporter;
	benchmark::RunSpecifiedBenchmarks(&reporter);
	for (const char* name : {"BM_ImpCodExtracont_Prima", "BM_ImpCodExtracont_Ripetuta"})
		if (auto c = reporter.Confronta(name, "BM_LetturaFile"))
			std::printf("%s: %.2f s for %ld lines, %.1f times reading and cutting them (%.3f s)\n", name, c->tempo,
						g_Righe, c->Volte(), c->base);
	return 0;
}
