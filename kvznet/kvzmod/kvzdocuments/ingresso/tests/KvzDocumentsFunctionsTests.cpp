#include <fstream>
#include <tuple>
#include <string>
#include <vector>

#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificato.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/BDStampaRiclassificatoDoc.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/Kvz_CComparazioneRiclassificDoc.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/Kvz_CDeRiclassificazioniDoc.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/Kvz_CRiclassificPianoBaseDoc.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/Kvz_CStampaReportRiclassificDoc.h"
#include "kvznet/kvzmod/kvzdocuments/formule/MngFormulaOld.h"
#include "kvznet/kvzmod/kvzdocuments/tests/KvzDocumentsFixture.h"
#include "platform/plvgeneric/FunctionWrappers.h"
#include "platform/plvoledb/SqlTable.h"

namespace {
using KvzDocumentsFunctions = KvzDocumentsLibrary;
using RunFn = long (*)(HWND);
using DisposeFn = bool (*)(HWND, long);
using RigaComparazioneFn = bool (*)(HWND, CObject*, int, BSTR*, BSTR*, double*, double*, double*, double*, double*,
									double*, int*, double*, double*, int*);
using RigaQuadrimFn = bool (*)(HWND, CObject*, int, BSTR*, BSTR*, double*, double*, double*, double*, double*, double*,
							   double*, double*, double*, double*, int*);
using BoolFn = bool (*)(HWND, CObject*);
using StrFn = BSTR (*)(HWND, CObject*);
using ValoreFn = double (*)(HWND, CObject*, int, BSTR, int, BSTR, BSTR, int);
using DescrizioniFn = bool (*)(HWND, CObject*, BSTR*, BSTR*, BSTR*, BSTR*, BSTR*, BSTR*, BSTR*, BSTR*, BSTR*);
using RigaEsplosFn = bool (*)(HWND, CObject*, int*, BSTR*, BSTR*);

// A block row read through an export: what it found and all fifteen values it gave back.
struct Quadrim
{
	bool found;
	std::string codice, descrizione;
	std::vector<double> importi;
	int tipo;
	friend bool operator==(const Quadrim&, const Quadrim&) = default;
};

// A string the caller owns, freed whatever happens.
struct Bstr
{
	explicit Bstr(const char* s) : p(SysAllocString(s)) {}
	~Bstr() { SysFreeString(p); }
	Bstr(const Bstr&) = delete;
	Bstr& operator=(const Bstr&) = delete;
	BSTR p;
};

Quadrim ReadQuadrim(RigaQuadrimFn fn, HWND hWnd, CObject* pDoc, int nRiga)
{
	Bstr codice("prima"), descrizione("");
	double v[10];
	for (int i = 0; i < 10; ++i)
		v[i] = -1 - i;
	int tipo = 7;
	const bool found = fn(hWnd, pDoc, nRiga, &codice.p, &descrizione.p, &v[0], &v[1], &v[2], &v[3], &v[4], &v[5],
						  &v[6], &v[7], &v[8], &v[9], &tipo);
	return Quadrim{found, codice.p, descrizione.p, std::vector<double>(v, v + 10), tipo};
}

kvzdocuments::RigaQuadrimestre Riga(const char* codice, double base)
{
	kvzdocuments::RigaQuadrimestre r;
	r.Codice = codice;
	r.Descrizione = CString("Descr ") + codice;
	for (int i = 0; i < 10; ++i)
		r.Importi[i] = base + i;
	r.TipoRiga = DataEnum(0x3AA8, 2);
	return r;
}
}  // namespace

TEST_F(KvzDocumentsFunctions, EveryNameIsExported)
{
	std::ifstream names(KVZDOCUMENTS_EXPORTS);
	int n = 0;
	for (std::string name; std::getline(names, name); ++n)
		EXPECT_NE(dlsym(m_pDocs->hHandle, name.c_str()), nullptr) << name;
	EXPECT_EQ(n, 38);
}

TEST_F(KvzDocumentsFunctions, RunOpensEvenUnderTheReportsNamesDisposeClosesOnce)
{
	struct Pair
	{
		const char* prefix;
		const char* doc;
	};
	for (Pair p : {Pair{"__Kvz_CComparazioneRiclassificDoc", "Kvz_CComparazioneRiclassificDoc"},
				   Pair{"__Kvz_CPianoBaseDoc", "Kvz_CPianoBaseDoc"},
				   Pair{"__CRiclassificPianoBaseDoc", "Kvz_CRiclassificPianoBaseDoc"},
				   Pair{"__BDStampaReportRiclassific", "Kvz_CStampaReportRiclassificDoc"},
				   Pair{"__StampaRiclassificatoDoc", "BDStampaRiclassificatoDoc"},
				   Pair{"__DModelliRiclassific", "Kvz_CDeRiclassificazioniDoc"}})
	{
		SCOPED_TRACE(p.prefix);
		auto run = Export<RunFn>((std::string(p.prefix) + "_Run").c_str());
		auto dispose = Export<DisposeFn>((std::string(p.prefix) + "_Dispose").c_str());
		ASSERT_TRUE(run && dispose);
		const long hHere = run(m_hWnd);
		long hThere = 0;
		bool disposedThere = false, disposedAgain = true;
		OnWorker([&] {
			hThere = run(m_hWnd);
			disposedThere = dispose(m_hWnd, hThere);
			disposedAgain = dispose(m_hWnd, hThere);
		});
		ASSERT_NE(hHere, 0);
		EXPECT_STREQ(reinterpret_cast<CObject*>(hHere)->GetRuntimeClass()->m_lpszClassName, p.doc);
		EXPECT_NE(hThere, 0);
		EXPECT_TRUE(disposedThere);
		EXPECT_FALSE(disposedAgain);
		EXPECT_TRUE(dispose(m_hWnd, hHere));
		EXPECT_FALSE(dispose(m_hWnd, hHere));
	}
	EXPECT_TRUE(m_Manager.GetOpenDocuments().empty());
}

TEST_F(KvzDocumentsFunctions, AWrongOrMissingContextIsRefusedByClassAndNothingIsWrittenBack)
{
	auto* pPianoBase = Open<CBaseDocument>("DPianoBase");
	ASSERT_NE(pPianoBase, nullptr);
	const long alive = SysStringsAlive();
	struct Case
	{
		const char* export_;
		const char* cls;
	};
	for (Case c : {Case{"__CRiclassificPianoBaseDoc_Kvz_GetRigaQuadrim1", "Kvz_CRiclassificPianoBaseDoc"},
				   Case{"__CStampaReportRiclassificDoc_Kvz_GetRigaQuadrim3", "Kvz_CStampaReportRiclassificDoc"}})
		for (CObject* pContext : {static_cast<CObject*>(pPianoBase), static_cast<CObject*>(nullptr)})
		{
			SCOPED_TRACE(c.export_);
			std::string message;
			Quadrim q;
			try
			{
				q = ReadQuadrim(Export<RigaQuadrimFn>(c.export_), m_hWnd, pContext, 0);
			}
			catch (const CApplicationErrorException& e)
			{
				message = e.GetMessage().str();
			}
			EXPECT_EQ(message, std::string("Invalid context object: ") + c.cls);
			EXPECT_EQ(SysStringsAlive(), alive);
		}

	// The other classes, each through one of its exports; the caller's values stay as they were.
	auto expectRefused = [&](const char* cls, auto call) {
		std::string message;
		try
		{
			call();
		}
		catch (const CApplicationErrorException& e)
		{
			message = e.GetMessage().str();
		}
		EXPECT_EQ(message, std::string("Invalid context object: ") + cls);
	};
	BSTR codice = SysAllocString("prima");
	double importo = 1.5;
	int livello = 3;
	expectRefused("Kvz_CComparazioneRiclassificDoc", [&] {
		Export<RigaComparazioneFn>("__Kvz_CComparazioneRiclassificDoc_GetRigaComparazione")(
			m_hWnd, pPianoBase, 0, &codice, &codice, &importo, &importo, &importo, &importo, &importo, &importo,
			&livello, &importo, &importo, &livello);
	});
	expectRefused("BDStampaRiclassificatoDoc",
				  [&] { Export<BoolFn>("__BDStampaRiclassificatoDoc_Kvz_CancellaSelezionati")(m_hWnd, pPianoBase); });
	expectRefused("Kvz_CDeRiclassificazioniDoc", [&] {
		Export<RigaEsplosFn>("__CDeRiclassificazioniDoc_Kvz_GetNextRigaEsplos")(m_hWnd, nullptr, &livello, &codice,
																				 &codice);
	});
	EXPECT_STREQ(codice, "prima");
	EXPECT_EQ(importo, 1.5);
	EXPECT_EQ(livello, 3);
	SysFreeString(codice);
	EXPECT_EQ(SysStringsAlive(), alive);
}

TEST_F(KvzDocumentsFunctions, BlockRowsReadTheSameFromAnyThreadAndAMissingRowStillWritesBack)
{
	auto* pRun = Open<Kvz_CRiclassificPianoBaseDoc>("DRiclassificPianoBase");
	auto* pReport = Open<Kvz_CStampaReportRiclassificDoc>("BDStampaReportRiclassific");
	ASSERT_TRUE(pRun && pReport);
	pRun->m_Esercizio = 2024;
	pRun->m_DalMese = 3;
	pRun->m_Mese = 9;
	pRun->m_Modello = "CE";
	pRun->m_Quadrim[0].push_back(Riga("R100", 10));
	pReport->m_Quadrim[2].push_back(Riga("R200", 20));
	pReport->m_nQuadrim[2] = 0;

	const std::vector<double> untouched{-1, -2, -3, -4, -5, -6, -7, -8, -9, -10};
	// The run gives eight amounts and leaves the rest as passed; the extraction gives all.
	const Quadrim runRow{true, "R100", "Descr R100", {10, 11, 12, 13, 14, 15, 16, 17, -9, -10}, 7};
	const Quadrim reportRow{true, "R200", "Descr R200", {20, 21, 22, 23, 24, 25, 26, 27, 28, 29}, 0x3AA80002};
	const Quadrim none{false, "prima", "", untouched, 7};
	auto runFn = Export<RigaQuadrimFn>("__CRiclassificPianoBaseDoc_Kvz_GetRigaQuadrim1");
	auto reportFn = Export<RigaQuadrimFn>("__CStampaReportRiclassificDoc_Kvz_GetRigaQuadrim3");
	const long alive = SysStringsAlive();
	auto readAll = [&] {
		return std::vector<Quadrim>{ReadQuadrim(runFn, m_hWnd, pRun, 0), ReadQuadrim(runFn, m_hWnd, pRun, 1),
									ReadQuadrim(reportFn, m_hWnd, pReport, 0), ReadQuadrim(reportFn, m_hWnd, pReport, 5)};
	};
	const std::vector<Quadrim> here = readAll();
	std::vector<Quadrim> there;
	int yearThere = 0;
	OnWorker([&] {
		there = readAll();
		yearThere = Export<int (*)(HWND, CObject*)>("__CRiclassificPianoBaseDoc_Kvz_GetEsercizioRiclassific")(m_hWnd, pRun);
	});
	EXPECT_EQ(here, (std::vector<Quadrim>{runRow, none, reportRow, none}));
	EXPECT_EQ(there, here);
	EXPECT_EQ(yearThere, 2024);
	EXPECT_EQ(SysStringsAlive(), alive);

	// The export named for the first month gives the last month of the range.
	EXPECT_EQ(Export<int (*)(HWND, CObject*)>("__CRiclassificPianoBaseDoc_Kvz_GetDalMeseRiclassific")(m_hWnd, pRun), 9);
	BSTR modello = Export<StrFn>("__CRiclassificPianoBaseDoc_Kvz_GetModelloRiclassific")(m_hWnd, pRun);
	EXPECT_STREQ(modello, "CE");
	SysFreeString(modello);
	EXPECT_FALSE(Export<BoolFn>("__CRiclassificPianoBaseDoc_Kvz_QualcosaInQuadrim2")(m_hWnd, pRun));
	EXPECT_FALSE(Export<BoolFn>("__CStampaReportRiclassificDoc_Kvz_QualcosaInQuadrim1")(m_hWnd, pReport));
	EXPECT_TRUE(Export<BoolFn>("__CStampaReportRiclassificDoc_Kvz_QualcosaInQuadrim3")(m_hWnd, pReport));

	// A negative index is the caller's fault, reported to it; nothing is written back.
	EXPECT_THROW(ReadQuadrim(runFn, m_hWnd, pRun, -1), CInvalidArgException);
	EXPECT_EQ(SysStringsAlive(), alive);
}

TEST_F(KvzDocumentsFunctions, ComparisonRowAndValueOfTheMonth)
{
	auto* pCmp = Open<Kvz_CComparazioneRiclassificDoc>("BDComparazioneRiclassific");
	ASSERT_NE(pCmp, nullptr);
	Kvz_ConfrontoRCLArrayElem r;
	r.CodRiclassificato = "R1";
	r.Descrizione = "Ricavi";
	r.Valore1 = 100;
	r.Valore2 = 80;
	r.Differenza = 20;
	r.Percentuale = 25;
	r.TipoRiga = DataEnum(0x3AA8, 1);
	r.Posizione = 2;
	pCmp->m_Righe.push_back(r);
	auto fn = Export<RigaComparazioneFn>("__Kvz_CComparazioneRiclassificDoc_GetRigaComparazione");
	BSTR codice = SysAllocString(""), descr = SysAllocString("");
	double v[8] = {};
	int tipo = 0, livello = 0;
	ASSERT_TRUE(fn(m_hWnd, pCmp, 0, &codice, &descr, &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &tipo, &v[6], &v[7], &livello));
	EXPECT_STREQ(codice, "R1");
	EXPECT_STREQ(descr, "Ricavi");
	EXPECT_EQ(std::vector<double>(v, v + 4), (std::vector<double>{100, 80, 20, 25}));
	EXPECT_EQ(tipo, 0x3AA80001);
	EXPECT_EQ(livello, 2);
	EXPECT_FALSE(fn(m_hWnd, pCmp, 1, &codice, &descr, &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &tipo, &v[6], &v[7], &livello));
	EXPECT_STREQ(codice, "R1");
	SysFreeString(codice);
	SysFreeString(descr);

	// A value of the results, by the column the report names.
	Kvz_TRiclassificato res;
	res.f_Esercizio = 2024;
	res.f_ModelloRiclassific = "CE";
	res.f_Mese = 3;
	res.f_CodRiclassificato = "R1";
	res.f_TipoDatoPianoBase = DataEnum(E_KVZ_TIPODATOPBASE, 1);
	res.f_Valore = 12.5;
	res.f_ValoreBudgetB = 7;
	res.f_Valore10 = 3;
	{
		SqlTable t(&res);
		t.Open(TRUE);
		t.AddNew(FALSE);
		t.Update();
	}
	auto* pReport = Open<Kvz_CStampaReportRiclassificDoc>("BDStampaReportRiclassific");
	auto valore = Export<ValoreFn>("__CStampaReportRiclassificDoc_Kvz_GetValoreDelMese");
	const int tipoDato = static_cast<int>(DataEnum(E_KVZ_TIPODATOPBASE, 1).GetValue());
	auto of = [&](const char* modello, int mese, const char* colonna, int kind) {
		BSTR m = SysAllocString(modello), c = SysAllocString("r1"), col = SysAllocString(colonna);
		double d = valore(m_hWnd, pReport, 2024, m, mese, c, col, kind);
		SysFreeString(m);
		SysFreeString(c);
		SysFreeString(col);
		return d;
	};
	EXPECT_EQ(of("CE", 3, "0", tipoDato), 12.5);
	EXPECT_EQ(of("CE", 3, "B", tipoDato), 7);
	EXPECT_EQ(of("CE", 3, "10", tipoDato), 3);
	EXPECT_EQ(of("CE", 3, "11", tipoDato), 0);
	EXPECT_EQ(of("CE", 4, "0", tipoDato), 0);
	EXPECT_EQ(of("CE", 3, "0", static_cast<int>(DataEnum(E_KVZ_TIPODATOPBASE, 0).GetValue())), 0);
}

TEST_F(KvzDocumentsFunctions, PrintingReadsTheMarkedModelsAndCodes)
{
	auto* pDoc = Open<BDStampaRiclassificatoDoc>("BDStampaRiclassificato");
	ASSERT_NE(pDoc, nullptr);
	pDoc->m_Esercizio = 2024;
	pDoc->m_AlMese = 12;
	for (auto [sel, modello] : {std::pair{true, "CE"}, std::pair{false, "SP"}, std::pair{true, "CE2"}})
	{
		auto* p = static_cast<Kvz_TRiclassificazioneTesta*>(pDoc->GetDBTModelli()->AddRecord());
		p->f_Esercizio = 2024;
		p->f_ModelloRiclassific = modello;
		p->f_Descrizione = CString("Modello ") + modello;
		p->l_Selezionata = sel;
	}
	for (auto [sel, codice] : {std::pair{false, "R1"}, std::pair{true, "R2"}, std::pair{true, "R3"}})
	{
		auto* p = static_cast<Kvz_TRiclassificazioneRighe*>(pDoc->GetDBTRighe()->AddRecord());
		p->f_Esercizio = 2024;
		p->f_CodRiclassificato = codice;
		p->l_Selezionata = sel;
		p->l_DescrizioneBreve = CString("Breve ") + codice;
	}
	for (auto [modello, codice, valore] : {std::tuple{"CE", "R2", 1.0}, std::tuple{"CE2", "R3", 3.0}})
	{
		Kvz_TRiclassificato res;
		res.f_Esercizio = 2024;
		res.f_ModelloRiclassific = modello;
		res.f_Mese = 1;
		res.f_CodRiclassificato = codice;
		res.f_Valore = valore;
		SqlTable t(&res);
		t.Open(TRUE);
		t.AddNew(FALSE);
		t.Update();
	}

	auto modello = Export<bool (*)(HWND, CObject*, int, BSTR*, BSTR*)>("__BDStampaRiclassificatoDoc_Kvz_GetNextModelloPerStampa");
	BSTR m = SysAllocString("x"), d = SysAllocString("prima");
	EXPECT_TRUE(modello(m_hWnd, pDoc, 1, &m, &d));
	EXPECT_STREQ(m, "");  // not marked: no model, the description as it was
	EXPECT_STREQ(d, "prima");
	EXPECT_TRUE(modello(m_hWnd, pDoc, 2, &m, &d));
	EXPECT_STREQ(m, "CE2");
	EXPECT_STREQ(d, "Modello CE2");
	EXPECT_FALSE(modello(m_hWnd, pDoc, 3, &m, &d));
	SysFreeString(m);
	SysFreeString(d);

	// A model's line: a cell per marked code; every output written, the rest 0.
	using Codici4Fn = bool (*)(HWND, CObject*, BSTR, double*, double*, double*, double*, double*, double*, double*,
							   double*, double*, double*, double*);
	double v[11];
	std::fill(std::begin(v), std::end(v), -1.0);
	BSTR ce2 = SysAllocString("CE2");
	EXPECT_TRUE(Export<Codici4Fn>("__BDStampaRiclassificatoDoc_Kvz_GetNextCodiciPerStampa_4")(
		m_hWnd, pDoc, ce2, &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], &v[7], &v[8], &v[9], &v[10]));
	EXPECT_EQ(std::vector<double>(v, v + 11), std::vector<double>(11, 0.0));  // the 100th marked code onwards: none
	EXPECT_EQ(pDoc->CalcolaValoreCodice(DataStr("CE2"), DataInt(2024), DataStr("R3")).GetValue(), 3.0);
	EXPECT_EQ(pDoc->CalcolaValoreCodice(DataStr("CE2"), DataInt(2024), DataStr("R2")).GetValue(), 0.0);
	SysFreeString(ce2);

	auto descrizioni = Export<DescrizioniFn>("__BDStampaRiclassificatoDoc_Kvz_GetNextDescrizioniPerStampa");
	BSTR s[9];
	for (BSTR& b : s)
		b = SysAllocString("vecchio");
	EXPECT_TRUE(descrizioni(m_hWnd, pDoc, &s[0], &s[1], &s[2], &s[3], &s[4], &s[5], &s[6], &s[7], &s[8]));
	EXPECT_STREQ(s[0], "Breve R2");
	EXPECT_STREQ(s[1], "Breve R3");
	EXPECT_STREQ(s[2], "");
	EXPECT_STREQ(s[8], "");
	for (BSTR b : s)
		SysFreeString(b);
}

// The legacy formula engine is exported with all its public members, for code outside the
// module: each is found by its linker name, and the engine made by name is driven through them.
TEST_F(KvzDocumentsFunctions, LegacyFormulaEngineIsExportedAndCallable)
{
	const char* const membri[] = {
		"_ZN14Kvz_MngFormulaC1EP9CMessagesP11CTypedArrayI7CStringE",
		"_ZN14Kvz_MngFormulaC1ERK7CStringP9CMessagesP11CTypedArrayIS0_E",
		"_ZN14Kvz_MngFormulaD0Ev",
		"_ZN14Kvz_MngFormula13AttachFormulaERK7CString",
		"_ZN14Kvz_MngFormula19AttachFormulaBudgetERK7CStringRK8DataEnum",
		"_ZN14Kvz_MngFormula13AttachModelloERK7DataStr",
		"_ZN14Kvz_MngFormula15AttachEsercizioERK7DataInt",
		"_ZN14Kvz_MngFormula13AttachDefaultERK7DataIntS2_RK7DataStrRK8DataEnumS8_",
		"_ZN14Kvz_MngFormula11InitSessionEv",
		"_ZN14Kvz_MngFormula5ParseERK7CString",
		"_ZN14Kvz_MngFormula4EvalEv",
		"_ZNK14Kvz_MngFormula9GetResultEv",
		"_ZNK14Kvz_MngFormula14GetFlatSymbolsEv",
		"_ZNK14Kvz_MngFormula10GetFormulaEv",
		"_ZN14Kvz_MngFormula12CreateObjectEv",
		"_ZNK14Kvz_MngFormula15GetRuntimeClassEv",
		"_ZN14Kvz_MngFormula19DecodificaOperatoreERK8DataEnum",
	};
	for (const char* nome : membri)
		EXPECT_NE(dlsym(m_pDocs->hHandle, nome), nullptr) << nome;

	using CreateFn = CObject* (*)();
	using AttachDefaultFn = void (*)(Kvz_MngFormula*, const DataInt*, const DataInt*, const DataStr*, const DataEnum*,
									 const DataEnum*);
	using AttachFormulaFn = void (*)(Kvz_MngFormula*, const CString*);
	using BoolFn = BOOL (*)(Kvz_MngFormula*);
	using ParseFn = BOOL (*)(Kvz_MngFormula*, const CString*);
	std::unique_ptr<CObject> pObj(Export<CreateFn>("_ZN14Kvz_MngFormula12CreateObjectEv")());
	ASSERT_EQ(CString(pObj->GetRuntimeClass()->m_lpszClassName), "Kvz_MngFormula");
	std::unique_ptr<CObject> pPerNome(CRuntimeClass::CreateObject("Kvz_MngFormula"));
	ASSERT_NE(DynamicDownCast<Kvz_MngFormula>(pPerNome.get()), nullptr);
	auto* f = DynamicDownCast<Kvz_MngFormula>(pObj.get());
	ASSERT_NE(f, nullptr);

	const DataInt anno(2025), mese(3);
	const DataStr modello("MOD");
	const DataEnum modo(0x3AAA, 0), altro;
	Export<AttachDefaultFn>("_ZN14Kvz_MngFormula13AttachDefaultERK7DataIntS2_RK7DataStrRK8DataEnumS8_")(
		f, &anno, &mese, &modello, &modo, &altro);
	const CString formula("(2 + 1) * 4");
	Export<AttachFormulaFn>("_ZN14Kvz_MngFormula13AttachFormulaERK7CString")(f, &formula);
	const CString nessuno;
	EXPECT_TRUE(Export<ParseFn>("_ZN14Kvz_MngFormula5ParseERK7CString")(f, &nessuno));
	EXPECT_TRUE(Export<BoolFn>("_ZN14Kvz_MngFormula4EvalEv")(f));
	EXPECT_EQ(f->GetResult().GetValue(), 12);
	EXPECT_TRUE(m_Ui.Messages().empty());
}
