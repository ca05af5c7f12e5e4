// The print of reclassified statements, the reclassified report extraction and the comparison of
// two reclassified plans, driven through their forms as a user drives them, on results written through the table records.
#include <algorithm>
#include <array>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "kvznet/kvzmod/kvzdbl/Kvz_TDescrFormula.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TDescrizioniBrevi.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificato.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificatoTesta.h"
#include "kvznet/kvzmod/kvzdbl/tests/KvzDblFixture.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/BDStampaRiclassificatoDoc.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/Kvz_CComparazioneRiclassificDoc.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/Kvz_CStampaReportRiclassificDoc.h"
#include "platform/plvgenlib/CommandManager.h"
#include "platform/plvges/FormDriver.h"
#include "platform/plvrendoviewer/CRendoDoc.h"

namespace {

const int kAnno = 2025;

class StampaRiclassificato : public CompanyDb
{
protected:
	void SetUp() override
	{
		CompanyDb::SetUp();
		AfxSetApplicationDate(DataDate(31, 12, kAnno));
		AfxSetLoginUser("controller");
		m_Manager.Install();
		m_pPrevRunner = AfxSetReportRunner(&m_Runner);
	}
	void TearDown() override
	{
		m_Docs.reset();
		AfxSetReportRunner(m_pPrevRunner);
		CompanyDb::TearDown();
	}

	void Modello(const char* modello, const char* descrizione)
	{
		Kvz_TRiclassificazioneTesta t;
		t.f_Esercizio = kAnno;
		t.f_ModelloRiclassific = modello;
		t.f_Descrizione = descrizione;
		t.f_TuttiOperatori = TRUE;
		InsertRow(t);
		Kvz_TRiclassificatoTesta r;
		r.f_Esercizio = kAnno;
		r.f_ModelloRiclassific = modello;
		r.f_Descrizione = descrizione;
		InsertRow(r);
	}
	// A model row; a progressive divides (or as the sign says) the dividend by the divisor.
	void Riga(const char* modello, const char* codice, int posizione, WORD tipo = 0, const char* dividendo = "",
			  const char* divisore = "", const char* segno = "")
	{
		Kvz_TRiclassificazioneRighe r;
		r.f_Esercizio = kAnno;
		r.f_ModelloRiclassific = modello;
		r.f_CodRiclassificato = codice;
		r.f_Posizione = posizione;
		r.f_Descrizione = CString("Descrizione ") + codice;
		r.f_TipoRiga = DataEnum(E_KVZ_TIPORIGA, tipo);
		r.f_CodRiclDividendoProgr = dividendo;
		r.f_CodRiclDivisoreProgr = divisore;
		r.f_SegnoDaApplicare = segno;
		InsertRow(r);
	}
	void Risultato(const char* modello, const char* codice, int mese, double valore, int posizione = 10, WORD tipo = 0,
				   double riportato = 0, double valore10 = 0, double budgetB = 0)
	{
		Kvz_TRiclassificato r;
		r.f_Esercizio = kAnno;
		r.f_Mese = mese;
		r.f_ModelloRiclassific = modello;
		r.f_CodRiclassificato = codice;
		r.f_Posizione = posizione;
		r.f_Descrizione = CString("Descrizione ") + codice;
		r.f_TipoRiga = DataEnum(E_KVZ_TIPORIGA, tipo);
		r.f_Valore = valore;
		r.f_TotaleRiportato = riportato;
		r.f_Valore10 = valore10;
		r.f_ValoreBudgetB = budgetB;
		InsertRow(r);
	}
	double Valore10(const char* modello, const char* codice, int mese)
	{
		Kvz_TRiclassificato r;
		SqlTable t(&r);
		t.Open(FALSE);
		t.SelectAll();
		t.AddParam("p1", r.f_ModelloRiclassific);
		t.AddFilterColumn(r.f_ModelloRiclassific);
		t.AddParam("p2", r.f_CodRiclassificato);
		t.AddFilterColumn(r.f_CodRiclassificato);
		t.AddParam("p3", r.f_Mese);
		t.AddFilterColumn(r.f_Mese);
		t.SetParamValue("p1", DataStr(modello));
		t.SetParamValue("p2", DataStr(codice));
		t.SetParamValue("p3", DataInt(mese));
		t.Query();
		return t.IsEOF() ? -1 : r.f_Valore10.GetValue();
	}

	template <class Doc, class View>
	FormDriver Apri()
	{
		m_Docs = std::make_unique<CDocumentSet>();
		return FormDriver(
			FormDriver::Open(*m_Docs, RUNTIME_CLASS(Doc), RUNTIME_CLASS(CBatchFrame), RUNTIME_CLASS(View)));
	}

	CPlvCommandManager m_Manager;
	CRecordingReportRunner m_Runner;
	IReportRunner* m_pPrevRunner = nullptr;
	std::unique_ptr<CDocumentSet> m_Docs;
};

// ---- print by code -------------------------------------------------------------------------------

using StampaPerCodice = StampaRiclassificato;

// The cells of a model's line from the four members, in one array of 110.
std::vector<double> Cells(BDStampaRiclassificatoDoc& doc, const char* modello)
{
	std::array<DataMon, 110> v;
	for (DataMon& m : v)
		m = -1.0;
	const DataStr m(modello);
	doc.Kvz_GetNextCodiciPerStampa_1(m, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10], v[11], v[12],
									 v[13], v[14], v[15], v[16], v[17], v[18], v[19], v[20], v[21], v[22], v[23], v[24],
									 v[25], v[26], v[27], v[28], v[29], v[30], v[31], v[32], v[33], v[34]);
	doc.Kvz_GetNextCodiciPerStampa_2(m, v[35], v[36], v[37], v[38], v[39], v[40], v[41], v[42], v[43], v[44], v[45], v[46],
									 v[47], v[48], v[49], v[50], v[51], v[52], v[53], v[54], v[55], v[56], v[57], v[58],
									 v[59], v[60], v[61], v[62], v[63], v[64], v[65], v[66], v[67], v[68], v[69]);
	doc.Kvz_GetNextCodiciPerStampa_3(m, v[70], v[71], v[72], v[73], v[74], v[75], v[76], v[77], v[78], v[79], v[80], v[81],
									 v[82], v[83], v[84], v[85], v[86], v[87], v[88], v[89], v[90], v[91], v[92], v[93],
									 v[94], v[95], v[96], v[97], v[98]);
	doc.Kvz_GetNextCodiciPerStampa_4(m, v[99], v[100], v[101], v[102], v[103], v[104], v[105], v[106], v[107], v[108],
									 v[109]);
	std::vector<double> out;
	for (const DataMon& x : v)
		out.push_back(x.GetValue());
	return out;
}

CString Codice(int i)
{
	return CString::Formatted("C%03d", i);
}

TEST_F(StampaPerCodice, ModelsAndCodesLoadThroughTheFormEachCodeOnceWhereItFirstAppears)
{
	Modello("CE", "Conto economico");
	Modello("CE2", "Conto economico divisione");
	Modello("SP", "Stato patrimoniale");
	for (auto [modello, codice, pos] : {std::tuple{"CE", "RIC", 10}, std::tuple{"CE", "MOL", 20},
										std::tuple{"CE2", "AAA", 5}, std::tuple{"CE2", "RIC", 10}})
		Riga(modello, codice, pos);
	Riga("CE", "TIT", 1, 7);  // never a code of the statement
	Kvz_TDescrizioniBrevi breve;
	breve.f_CodRiclassificato = "MOL";
	breve.f_DescrizioneBreve = "Margine";
	breve.f_Selezionata = TRUE;
	InsertRow(breve);

	FormDriver form = Apri<BDStampaRiclassificatoDoc, BDStampaRiclassificatoView>();
	ASSERT_TRUE(form.IsOpen());
	auto* pDoc = static_cast<BDStampaRiclassificatoDoc*>(form.GetDocument());
	EXPECT_EQ(pDoc->GetFormTitle(), "Stampa riclassificato");
	EXPECT_FALSE(pDoc->GetTabber()->GetPaginaCodici()->IsTabEnabled());

	// First and last model equal: that model alone.
	ASSERT_TRUE(form.Type("Dal modello", "ce2"));
	ASSERT_TRUE(form.Type("Al modello", "CE2"));
	ASSERT_TRUE(form.Press("Carica modelli"));
	ASSERT_EQ(form.RowCount("Modelli stampa riclassificato"), 1);
	EXPECT_EQ(form.Cell("Modelli stampa riclassificato", 0, "Modello"), "CE2");

	ASSERT_TRUE(form.Type("Dal modello", "CE"));
	ASSERT_TRUE(form.Type("Al modello", "CE2"));
	ASSERT_TRUE(form.Press("Carica modelli"));
	ASSERT_EQ(form.RowCount("Modelli stampa riclassificato"), 2);
	ASSERT_TRUE(form.TypeCell("Modelli stampa riclassificato", 0, "Sel", "Sì"));
	ASSERT_TRUE(form.TypeCell("Modelli stampa riclassificato", 1, "Sel", "Sì"));
	ASSERT_TRUE(form.RunBatch());

	EXPECT_TRUE(pDoc->GetTabber()->GetPaginaCodici()->IsTabEnabled());
	EXPECT_EQ(pDoc->GetTabber()->GetActiveTab(), 1);
	ASSERT_EQ(form.RowCount("Stampa riclassificato"), 3);
	std::vector<CString> codici;
	for (int i = 0; i < 3; ++i)
		codici.push_back(form.Cell("Stampa riclassificato", i, "Modello"));
	// In the first model's row order, then the codes the second adds.
	EXPECT_EQ(codici, (std::vector<CString>{"RIC", "MOL", "AAA"}));
	// The stored short description and choice come back; the count follows the choices.
	EXPECT_EQ(form.Cell("Stampa riclassificato", 1, "DescrizioneBreve"), "Margine");
	EXPECT_EQ(form.Text("Codici selezionati"), "1");
	ASSERT_TRUE(form.TypeCell("Stampa riclassificato", 2, "Sel", "Sì"));
	EXPECT_EQ(form.Text("Codici selezionati"), "2");
	ASSERT_TRUE(form.TypeCell("Stampa riclassificato", 1, "Sel", "No"));
	EXPECT_EQ(form.Text("Codici selezionati"), "1");
	for (int n = 0; n < 2; ++n)
	{
		ASSERT_TRUE(form.Press("Seleziona tutti"));
		EXPECT_EQ(form.Text("Codici selezionati"), "3");
	}
	ASSERT_TRUE(form.Press("Deseleziona tutti"));
	EXPECT_EQ(form.Text("Codici selezionati"), "0");

	// A column that names no value is refused and keeps the focus.
	m_Ui.Clear();
	form.Type("Colonna", "Z");
	EXPECT_EQ(m_Ui.LastMessage(), "Colonna errata. Indicare valore da 0 a 10 oppure A, B o C per i budget");
}

TEST_F(StampaPerCodice, CellsFollowTheChosenCodesAcrossTheFourMembers)
{
	FormDriver form = Apri<BDStampaRiclassificatoDoc, BDStampaRiclassificatoView>();
	auto* pDoc = static_cast<BDStampaRiclassificatoDoc*>(form.GetDocument());
	pDoc->m_AlMese = 12;
	DBTStampaRighe* pRighe = pDoc->GetDBTRighe();
	auto aggiungi = [&](int i, bool sel) {
		auto* p = static_cast<Kvz_TRiclassificazioneRighe*>(pRighe->AddRecord());
		p->f_Esercizio = kAnno;
		p->f_CodRiclassificato = Codice(i);
		p->l_Selezionata = sel;
		Risultato("CE", Codice(i), 1, i);
		Risultato("CE", Codice(i), 2, 1000);
	};
	// 80 rows, the even ones chosen: 40 codes, numbered 1 to 40 in grid order.
	for (int i = 1; i <= 80; ++i)
		aggiungi(i, i % 2 == 0);
	std::vector<double> v = Cells(*pDoc, "CE");
	EXPECT_EQ(v[0], 1002);
	EXPECT_EQ(v[34], 1070);  // the 35th chosen: C070
	// Outputs 1 to 5 of the second member: the codes numbered 36 to 40, the rest zero.
	EXPECT_EQ(std::vector<double>(v.begin() + 35, v.begin() + 41),
			  (std::vector<double>{1072, 1074, 1076, 1078, 1080, 0}));
	EXPECT_TRUE(std::all_of(v.begin() + 40, v.end(), [](double x) { return x == 0; }));

	// 110 chosen codes: the 100th is output 1 of the fourth member, the 110th its last.
	for (int i = 81; i <= 110; ++i)
		aggiungi(i, true);
	for (int i = 0; i < pRighe->GetSize(); ++i)
		pRighe->GetRiga(i)->l_Selezionata = TRUE;
	pDoc->m_DalMese = 2;  // another range reads again
	v = Cells(*pDoc, "CE");
	EXPECT_EQ(v[99], 1000);
	pDoc->m_DalMese = 1;
	v = Cells(*pDoc, "CE");
	EXPECT_EQ(v[99], 1100);
	EXPECT_EQ(v[109], 1110);
	EXPECT_EQ(Cells(*pDoc, "ALTRO"), std::vector<double>(110, 0.0));
}

TEST_F(StampaPerCodice, ValueColumnAndMonthRangeChooseWhatACellSums)
{
	FormDriver form = Apri<BDStampaRiclassificatoDoc, BDStampaRiclassificatoView>();
	auto* pDoc = static_cast<BDStampaRiclassificatoDoc*>(form.GetDocument());
	Risultato("CE", "RIC", 2, 10, 10, 0, 0, 0, 100);
	Risultato("CE", "RIC", 3, 20, 10, 0, 0, 0, 200);
	Risultato("CE", "RIC", 5, 40, 10, 0, 0, 0, 400);  // outside the range
	ASSERT_TRUE(form.Type("Dal mese", "1"));
	ASSERT_TRUE(form.Type("Al mese", "4"));
	const DataStr ce("CE"), ric("RIC");
	const DataInt anno(kAnno);
	EXPECT_EQ(pDoc->CalcolaValoreCodice(ce, anno, ric).GetValue(), 30);
	ASSERT_TRUE(form.Type("Colonna", "b"));
	EXPECT_EQ(pDoc->CalcolaValoreCodice(ce, anno, ric).GetValue(), 300);
	ASSERT_TRUE(form.Type("Al mese", "2"));
	EXPECT_EQ(pDoc->CalcolaValoreCodice(ce, anno, ric).GetValue(), 100);

	// A stock row of the closing kind takes the range's last month, one of the opening kind
	// its first, as the statement prints them.
	Riga("CE", "APE", 20, 2);
	Riga("CE", "CHI", 30, 3);
	for (int m = 1; m <= 4; ++m)
	{
		Risultato("CE", "APE", m, m * 10, 20, 2);
		Risultato("CE", "CHI", m, m * 10, 30, 3);
	}
	ASSERT_TRUE(form.Type("Colonna", "0"));
	ASSERT_TRUE(form.Type("Dal mese", "2"));
	ASSERT_TRUE(form.Type("Al mese", "4"));
	EXPECT_EQ(pDoc->CalcolaValoreCodice(ce, anno, DataStr("APE")).GetValue(), 20);
	EXPECT_EQ(pDoc->CalcolaValoreCodice(ce, anno, DataStr("CHI")).GetValue(), 40);
}

TEST_F(StampaPerCodice, CancellaSelezionatiKeepsEveryShortDescriptionAndDropsConsecutiveRows)
{
	Kvz_TDescrizioniBrevi esistente;
	esistente.f_CodRiclassificato = "A";
	esistente.f_DescrizioneBreve = "vecchia";
	InsertRow(esistente);
	FormDriver form = Apri<BDStampaRiclassificatoDoc, BDStampaRiclassificatoView>();
	auto* pDoc = static_cast<BDStampaRiclassificatoDoc*>(form.GetDocument());
	for (auto [codice, sel] : {std::pair{"A", true}, std::pair{"B", true}, std::pair{"C", false}, std::pair{"D", true},
							   std::pair{"E", true}})
	{
		auto* p = static_cast<Kvz_TRiclassificazioneRighe*>(pDoc->GetDBTRighe()->AddRecord());
		p->f_CodRiclassificato = codice;
		p->l_Selezionata = sel;
		p->l_DescrizioneBreve = CString("Breve ") + codice;
	}
	pDoc->m_NrSelezionati = 4;
	EXPECT_TRUE(pDoc->Kvz_CancellaSelezionati());
	ASSERT_EQ(pDoc->GetDBTRighe()->GetSize(), 1);
	EXPECT_EQ(pDoc->GetDBTRighe()->GetRiga(0)->f_CodRiclassificato.GetString(), "C");
	EXPECT_EQ(pDoc->m_NrSelezionati.GetValue(), 0);

	// The stored one takes the new text; the missing ones are created under their own code.
	Kvz_TRDescrizioniBrevi reader;
	for (const char* codice : {"A", "B", "D", "E"})
	{
		ASSERT_EQ(reader.FindRecord(DataStr(codice)), TableReader::FOUND) << codice;
		EXPECT_EQ(reader.GetRecord()->f_DescrizioneBreve.GetString(), CString("Breve ") + codice);
	}
	EXPECT_EQ(reader.FindRecord(DataStr("C")), TableReader::NOT_FOUND);
	EXPECT_EQ(reader.FindRecord(DataStr("")), TableReader::NOT_FOUND);
}

TEST_F(StampaPerCodice, NineCodesPrintWithTheShortReportTenWithTheExtendedOne)
{
	Modello("CE", "Conto economico");
	for (int i = 1; i <= 10; ++i)
		Riga("CE", Codice(i), i * 10);
	FormDriver form = Apri<BDStampaRiclassificatoDoc, BDStampaRiclassificatoView>();
	ASSERT_TRUE(form.Press("Carica modelli"));
	ASSERT_TRUE(form.TypeCell("Modelli stampa riclassificato", 0, "Sel", "Sì"));
	ASSERT_TRUE(form.RunBatch());
	ASSERT_EQ(form.RowCount("Stampa riclassificato"), 10);
	for (int i = 0; i < 9; ++i)
		ASSERT_TRUE(form.TypeCell("Stampa riclassificato", i, "Sel", "Sì"));
	ASSERT_TRUE(form.Press("Stampa"));
	ASSERT_TRUE(form.TypeCell("Stampa riclassificato", 9, "Sel", "Sì"));
	ASSERT_TRUE(form.Press("Stampa"));
	const auto requests = m_Runner.Requests();
	ASSERT_EQ(requests.size(), 2u);
	EXPECT_EQ(requests[0].info->GetReportsToRun().at(0).GetPathName(), "KvzNet.KvzMod.StampaRiclassificatoPerCodice");
	EXPECT_EQ(requests[1].info->GetReportsToRun().at(0).GetPathName(),
			  "KvzNet.KvzMod.StampaRiclassificatoPerCodiceEstesa");
	EXPECT_EQ(requests[1].pContext, form.GetDocument());
}

// ---- report extraction ---------------------------------------------------------------------------

using EstrazioneReport = StampaRiclassificato;

struct Estratto
{
	std::string codice;
	std::vector<double> importi;  // the ten as the report reads them
	WORD tipo;
	friend bool operator==(const Estratto&, const Estratto&) = default;
};

std::vector<Estratto> Periodo(Kvz_CStampaReportRiclassificDoc& doc, int p)
{
	std::vector<Estratto> out;
	for (const kvzdocuments::RigaQuadrimestre& r : doc.m_Quadrim[p])
	{
		Estratto e{r.Codice.GetString().str(), {}, r.TipoRiga.GetItemValue()};
		for (const DataMon& m : r.Importi)
			e.importi.push_back(m.GetValue());
		out.push_back(e);
	}
	return out;
}

Kvz_CStampaReportRiclassificDoc* Estrai(FormDriver& form, int dal, int al)
{
	auto* pDoc = static_cast<Kvz_CStampaReportRiclassificDoc*>(form.GetDocument());
	pDoc->m_DalMese = dal;
	pDoc->m_AlMese = al;
	pDoc->m_Modello = "CE";
	EXPECT_TRUE(pDoc->EstraiDati());
	return pDoc;
}

TEST_F(EstrazioneReport, AMonthRangeAcrossPeriodsAndTheKindsThatTakeOneMonth)
{
	for (int m = 1; m <= 12; ++m)
	{
		Risultato("CE", "RIC", m, m * 100, 10, 0, m);
		Risultato("CE", "K2", m, m, 20, 2, 1);
		Risultato("CE", "K3", m, m, 30, 3, 1);
		Risultato("CE", "TIT", m, 5, 1, 7);
	}
	FormDriver form = Apri<Kvz_CStampaReportRiclassificDoc, Kvz_CStampaReportRiclassificView>();
	Kvz_CStampaReportRiclassificDoc* pDoc = Estrai(form, 3, 6);
	// Period 1 holds months 3 and 4, period 2 months 5 and 6; the range value sums 3 to 6,
	// kind 2 takes month 3 alone, kind 3 month 6; the reported totals sum the whole range.
	EXPECT_EQ(Periodo(*pDoc, 0), (std::vector<Estratto>{{"RIC", {0, 0, 0, 0, 300, 3, 400, 4, 1800, 18}, 0},
														{"K2", {0, 0, 0, 0, 3, 1, 4, 1, 3, 4}, 2},
														{"K3", {0, 0, 0, 0, 3, 1, 4, 1, 6, 4}, 3}}));
	EXPECT_EQ(Periodo(*pDoc, 1), (std::vector<Estratto>{{"RIC", {500, 5, 600, 6, 0, 0, 0, 0, 1800, 18}, 0},
														{"K2", {5, 1, 6, 1, 0, 0, 0, 0, 3, 4}, 2},
														{"K3", {5, 1, 6, 1, 0, 0, 0, 0, 6, 4}, 3}}));
	EXPECT_TRUE(pDoc->Kvz_QualcosaInQuadrim1());
	EXPECT_TRUE(pDoc->Kvz_QualcosaInQuadrim2());
	EXPECT_FALSE(pDoc->Kvz_QualcosaInQuadrim3());

	// The row at the size answers FALSE and leaves the outputs alone.
	DataStr codice("prima"), descrizione;
	std::array<DataMon, 10> v;
	DataEnum tipo;
	EXPECT_FALSE(pDoc->Kvz_GetRigaQuadrim2(DataInt(3), codice, descrizione, v[0], v[1], v[2], v[3], v[4], v[5], v[6],
										   v[7], v[8], v[9], tipo));
	EXPECT_EQ(codice.GetString(), "prima");
}

TEST_F(EstrazioneReport, TwoCodesAtOnePositionStayApart)
{
	for (int m = 1; m <= 4; ++m)
	{
		Risultato("CE", "B", m, 2, 10);
		Risultato("CE", "A", m, 1, 10);
	}
	FormDriver form = Apri<Kvz_CStampaReportRiclassificDoc, Kvz_CStampaReportRiclassificView>();
	Kvz_CStampaReportRiclassificDoc* pDoc = Estrai(form, 1, 4);
	EXPECT_EQ(Periodo(*pDoc, 0), (std::vector<Estratto>{{"A", {1, 0, 1, 0, 1, 0, 1, 0, 4, 0}, 0},
														{"B", {2, 0, 2, 0, 2, 0, 2, 0, 8, 0}, 0}}));
}

// Operands of progressives, months 1 and 2: D and S in the main column and in budget B; D's
// first month holds 50 in column 10 (a model's own formula 10, not a progressive).
class Progressivi : public StampaRiclassificato
{
protected:
	void SetUp() override
	{
		StampaRiclassificato::SetUp();
		Modello("CE", "Conto economico");
		Riga("CE", "D", 10);
		Riga("CE", "S", 20);
		Riga("CE", "P", 30, 0, "D", "S", "/");
		Riga("CE", "Z", 40, 0, "D", "ZERO", "/");
		Riga("CE", "ZERO", 45);
		Riga("CE", "M", 50, 0, "S", "S", "-");
		Riga("CE", "X", 60, 0, "S", "S", "%");  // any other sign divides
		Riga("CE", "Q", 70, 0, "P", "S", "*");  // an operand that is a progressive itself
		for (int m = 1; m <= 2; ++m)
		{
			Risultato("CE", "D", m, 3, 10, 0, 0, m == 1 ? 50 : 0, 4);
			Risultato("CE", "S", m, 2.5, 20, 0, 0, 0, 2);
			Risultato("CE", "P", m, 1, 30);
			Risultato("CE", "Z", m, 7, 40);
			Risultato("CE", "ZERO", m, 0, 45);
			Risultato("CE", "M", m, 1, 50);
			Risultato("CE", "X", m, 1, 60);
			Risultato("CE", "Q", m, 1, 70);
		}
	}
};

TEST_F(Progressivi, EachPrintComputesThemForItsColumnAndWritesNothing)
{
	struct Caso
	{
		const char* colonna;
		std::vector<double> valori;  // D, S, P, Z, ZERO, M, X, Q
	};
	// P = D / S of the column printed; a zero divisor or a zero result gives the code's own
	// sum; Q reads P's progressive. Column 10 is a stored formula: summed like any other.
	const Caso casi[] = {{"0", {6, 5, 1.2, 14, 0, 2, 1, 6}},
						 {"B", {8, 4, 2, 0, 0, 0, 1, 8}},
						 {"10", {50, 0, 0, 0, 0, 0, 0, 0}}};
	FormDriver form = Apri<Kvz_CStampaReportRiclassificDoc, Kvz_CStampaReportRiclassificView>();
	for (int giro = 0; giro < 2; ++giro)
		for (const Caso& c : casi)
		{
			auto* pDoc = static_cast<Kvz_CStampaReportRiclassificDoc*>(form.GetDocument());
			pDoc->m_Colonna = c.colonna;
			Estrai(form, 1, 2);
			std::vector<double> valori;
			for (const Estratto& e : Periodo(*pDoc, 0))
				valori.push_back(e.importi[8]);
			EXPECT_EQ(valori, c.valori) << c.colonna << " " << giro;
			// Formula 10's results stay as the run stored them.
			EXPECT_EQ(Valore10("CE", "D", 1), 50);
			EXPECT_EQ(Valore10("CE", "P", 1), 0);
			EXPECT_EQ(Valore10("CE", "X", 1), 0);
		}
}

TEST_F(Progressivi, ThePrintByCodeTakesThemToo)
{
	FormDriver form = Apri<BDStampaRiclassificatoDoc, BDStampaRiclassificatoView>();
	auto* pDoc = static_cast<BDStampaRiclassificatoDoc*>(form.GetDocument());
	ASSERT_TRUE(form.Type("Al mese", "2"));
	ASSERT_TRUE(form.Press("Carica modelli"));
	ASSERT_TRUE(form.TypeCell("Modelli stampa riclassificato", 0, "Sel", "Sì"));
	ASSERT_TRUE(form.RunBatch());
	ASSERT_TRUE(form.Press("Seleziona tutti"));
	const std::vector<double> v = Cells(*pDoc, "CE");
	EXPECT_EQ(std::vector<double>(v.begin(), v.begin() + 8), (std::vector<double>{6, 5, 1.2, 14, 0, 2, 1, 6}));
}

TEST_F(Progressivi, TheComparisonComputesThemForEachTermAndAPrintChangesNothing)
{
	auto righe = [&](FormDriver& form) {
		EXPECT_TRUE(form.RunBatch()) << m_Ui.LastMessage().str();
		std::map<std::string, std::pair<double, double>> v;
		for (const auto& r : static_cast<Kvz_CComparazioneRiclassificDoc*>(form.GetDocument())->m_Righe)
			v[r.CodRiclassificato.GetString().str()] = {r.Valore1.GetValue(), r.Valore2.GetValue()};
		return v;
	};
	FormDriver confronto = Apri<Kvz_CComparazioneRiclassificDoc, Kvz_CComparazioneRiclassificView>();
	ASSERT_TRUE(confronto.Type("COMPARA_MODELLO_1", "CE"));
	ASSERT_TRUE(confronto.Type("COMPARA_MODELLO_2", "CE"));
	ASSERT_TRUE(confronto.Type("COMPARA_MESE_A_1", "2"));
	ASSERT_TRUE(confronto.Type("COMPARA_MESE_A_2", "2"));
	ASSERT_TRUE(confronto.Type("COMPARA_VALORE_BUDGET_2", "Si"));
	ASSERT_TRUE(confronto.Type("COMPARA_TIPO_BUDGET_2", "Budget B"));
	const auto prima = righe(confronto);
	// The main value's ratio against budget B's own: 6 / 5 and 8 / 4.
	EXPECT_EQ(prima.at("P"), std::make_pair(1.2, 2.0));
	EXPECT_EQ(prima.at("Q"), std::make_pair(6.0, 8.0));
	EXPECT_EQ(prima.at("D"), std::make_pair(6.0, 8.0));

	// A statement printed meanwhile changes no cell of the comparison.
	{
		CDocumentSet docs;
		FormDriver stampa(FormDriver::Open(docs, RUNTIME_CLASS(Kvz_CStampaReportRiclassificDoc), RUNTIME_CLASS(CBatchFrame),
										   RUNTIME_CLASS(Kvz_CStampaReportRiclassificView)));
		ASSERT_TRUE(stampa.Type("Codice:", "CE"));
		ASSERT_TRUE(stampa.Type("Al mese:", "2"));
		ASSERT_TRUE(stampa.RunBatch());
	}
	EXPECT_EQ(righe(confronto), prima);

	// Projected from two months to twelve: the operands are, the ratio stays the ratio.
	ASSERT_TRUE(confronto.Type("COMPARA_PROIEZI_MESI1", "2"));
	const auto proiettate = righe(confronto);
	EXPECT_DOUBLE_EQ(proiettate.at("P").first, 1.2);
	EXPECT_DOUBLE_EQ(proiettate.at("D").first, 36);
	EXPECT_DOUBLE_EQ(proiettate.at("Q").first, 36);  // P, 1,2, times S projected, 30
}

TEST_F(EstrazioneReport, TheFormRunsTheReportAndAnotherRunReusesIt)
{
	Modello("CE", "Conto economico");
	for (int m = 1; m <= 6; ++m)
		Risultato("CE", "RIC", m, 100);
	FormDriver form = Apri<Kvz_CStampaReportRiclassificDoc, Kvz_CStampaReportRiclassificView>();
	auto* pDoc = static_cast<Kvz_CStampaReportRiclassificDoc*>(form.GetDocument());
	EXPECT_EQ(pDoc->GetFormTitle(), "Stampa report riclassificazione");

	// Without a model nothing runs.
	m_Ui.Clear();
	EXPECT_FALSE(form.RunBatch());
	EXPECT_EQ(m_Ui.LastMessage(), "Indicare il modello di riclassificazione.");
	EXPECT_TRUE(m_Runner.Requests().empty());

	ASSERT_TRUE(form.Type("Codice:", "ce"));
	EXPECT_FALSE(form.Type("Codice:", "NESSUNO"));  // the lookup refuses a model that is not there
	ASSERT_TRUE(form.Type("Codice:", "CE"));
	ASSERT_TRUE(form.Type("Al mese:", "6"));
	ASSERT_TRUE(form.RunBatch());
	ASSERT_EQ(m_Runner.Requests().size(), 1u);
	CRendoDoc* pReport = pDoc->GetReport();
	ASSERT_NE(pReport, nullptr);
	const CRendoInfo& info = *m_Runner.Requests()[0].info;
	EXPECT_EQ(info.GetParamCount(), 6);
	EXPECT_EQ(info.GetParamName(0), "w_ModelloInput");
	EXPECT_EQ(info.GetParamValue("w_AlMeseInput")->FormatData(), "6");

	// The next run reuses the report document, with its own inputs.
	ASSERT_TRUE(form.Type("Al mese:", "3"));
	ASSERT_TRUE(form.RunBatch());
	ASSERT_EQ(m_Runner.Requests().size(), 2u);
	EXPECT_EQ(pDoc->GetReport(), pReport);
	EXPECT_EQ(pReport->GetRunCount(), 2);
	EXPECT_EQ(m_Runner.Requests()[1].info->GetParamValue("w_AlMeseInput")->FormatData(), "3");

	// A range without results: said, nothing printed.
	ASSERT_TRUE(form.Type("Dal mese:", "7"));
	ASSERT_TRUE(form.Type("Al mese:", "9"));
	m_Ui.Clear();
	EXPECT_FALSE(form.RunBatch());
	EXPECT_EQ(m_Ui.LastMessage(), "Nessun dato estratto per i parametri impostati.");
	EXPECT_EQ(m_Runner.Requests().size(), 2u);
	// Months that read nothing are refused before anything runs.
	ASSERT_TRUE(form.Type("Dal mese:", "5"));
	ASSERT_TRUE(form.Type("Al mese:", "13"));
	EXPECT_FALSE(form.RunBatch());
	EXPECT_NE(m_Ui.LastMessage().Find("Mesi errati"), -1);
}

// ---- comparison of two plans ---------------------------------------------------------------------

class Comparazione : public StampaRiclassificato
{
protected:
	using Confronto = std::tuple<std::string, double, double, double, double>;  // code, value 1, value 2, difference, %

	FormDriver ApriConfronto(const char* primo, const char* secondo)
	{
		FormDriver form = Apri<Kvz_CComparazioneRiclassificDoc, Kvz_CComparazioneRiclassificView>();
		m_pDoc = static_cast<Kvz_CComparazioneRiclassificDoc*>(form.GetDocument());
		EXPECT_TRUE(form.Type("COMPARA_MODELLO_1", primo)) << form.GetLastError();
		EXPECT_TRUE(form.Type("COMPARA_MODELLO_2", secondo)) << form.GetLastError();
		return form;
	}
	std::vector<Confronto> Righe() const
	{
		std::vector<Confronto> v;
		for (const auto& r : m_pDoc->m_Righe)
			v.emplace_back(r.CodRiclassificato.GetString().str(), r.Valore1.GetValue(), r.Valore2.GetValue(),
						   r.Differenza.GetValue(), r.Percentuale.GetValue());
		return v;
	}
	const Kvz_ConfrontoRCLArrayElem* Di(const char* codice) const
	{
		for (const auto& r : m_pDoc->m_Righe)
			if (r.CodRiclassificato.GetString() == codice)
				return &r;
		return nullptr;
	}
	long RigheTemp()
	{
		auto st = m_pConn->Db().Prepare("SELECT COUNT(*) FROM Kvz_Riclassificato WHERE Temp <> 0");
		st->Step();
		return static_cast<long>(std::get<std::int64_t>(st->Column(0)));
	}

	Kvz_CComparazioneRiclassificDoc* m_pDoc = nullptr;
};

TEST(ComparazioneChiave, CodesSortAsIfPaddedOnTheLeftAndPercentagesFollowTheSignOfTheFirst)
{
	EXPECT_EQ(Kvz_ChiaveConfronto("7"), "000000000000007");
	EXPECT_LT(Kvz_ChiaveConfronto("7").str(), Kvz_ChiaveConfronto("12").str());
	EXPECT_EQ(Kvz_ChiaveConfronto("ABCDEFGHIJKLMNOPQ"), "ABCDEFGHIJKLMNO");
	struct Caso
	{
		double v1, v2, perc;
	};
	for (const Caso& c : {Caso{0, 50, 100}, Caso{0, 0, 0}, Caso{-200, -100, -50}, Caso{80, 0, -100}, Caso{3, 4, 33.33}})
		EXPECT_DOUBLE_EQ(Kvz_PercentualeConfronto(c.v1, c.v2), c.perc) << c.v1 << " " << c.v2;
}

TEST_F(Comparazione, TwoPlansCodeByCodeWithSingleMonthKindsAndCodesOfTheSecondOnly)
{
	Modello("A", "Consuntivo");
	Modello("B", "Budget");
	Riga("A", "K2", 5, 2);
	Riga("A", "K3", 6, 3);
	for (int m = 1; m <= 3; ++m)
	{
		Risultato("A", "P1", m, m == 1 ? -200 : 0, 1, 0, 10);
		Risultato("B", "P1", m, m == 1 ? -100 : 0, 1, 0, 1);
		Risultato("A", "K2", m, m * 10, 5, 2, m);
		Risultato("B", "K2", m, m, 5, 2);
		Risultato("A", "K3", m, m * 10, 6, 3);
		Risultato("B", "K3", m, m, 6, 3);
		Risultato("A", "12", m, 1, 8);
		Risultato("A", "7", m, 1, 9);
		Risultato("A", "ESCLUSA", m, 1, 11, 7);
	}
	Risultato("A", "SOLO1", 2, 80, 2);
	// Column 10 is a formula of its own: it never stands in for the main value.
	Risultato("A", "V10", 1, 5, 3, 0, 0, 999);
	Risultato("A", "V10", 2, 5, 3, 0, 0, 1);
	Risultato("B", "V10", 2, 5, 3);
	Risultato("B", "SOLO2", 2, 50, 4);
	Risultato("B", "FUORI", 5, 70, 7);  // in the second term's months only
	FormDriver form = ApriConfronto("A", "B");
	ASSERT_TRUE(form.Type("COMPARA_MESE_A_1", "3"));
	ASSERT_TRUE(form.Type("COMPARA_MESE_A_2", "6"));
	ASSERT_TRUE(form.RunBatch()) << m_Ui.LastMessage().str();
	// In the order of the codes padded on the left to 15 characters; kind 3 takes each range's
	// last month, and the second term has none in month 6.
	EXPECT_EQ(Righe(), (std::vector<Confronto>{{"7", 3, 0, -3, -100},
										  {"12", 3, 0, -3, -100},
										  {"K2", 10, 1, -9, -90},
										  {"K3", 30, 0, -30, -100},
										  {"P1", -200, -100, 100, -50},
										  {"V10", 10, 5, -5, -50},
										  {"SOLO1", 80, 0, -80, -100},
										  {"SOLO2", 0, 50, 50, 100}}));
	// The carried totals cover the whole ranges, for single-month kinds too.
	EXPECT_DOUBLE_EQ(Di("K2")->Riportato1.GetValue(), 6);
	EXPECT_DOUBLE_EQ(Di("P1")->Riportato2.GetValue(), 3);
	EXPECT_EQ(Di("K3")->TipoRiga.GetItemValue(), 3);
	EXPECT_EQ(Di("SOLO2")->Descrizione.GetString(), "Descrizione SOLO2");
	EXPECT_EQ(RigheTemp(), 0);

	// Three months projected to twelve: value and carried total times four.
	ASSERT_TRUE(form.Type("COMPARA_PROIEZI_MESI1", "3"));
	ASSERT_TRUE(form.RunBatch());
	EXPECT_DOUBLE_EQ(Di("P1")->Valore1.GetValue(), -800);
	EXPECT_DOUBLE_EQ(Di("P1")->Proiettato1.GetValue(), -800);
	EXPECT_DOUBLE_EQ(Di("P1")->Riportato1.GetValue(), 120);
	EXPECT_DOUBLE_EQ(Di("P1")->Proiettato2.GetValue(), 0);
	EXPECT_DOUBLE_EQ(Di("P1")->Percentuale.GetValue(), -87.5);
	EXPECT_EQ(m_pDoc->m_Termine[0].DescriProiezione.GetString(), "3 su 12");
	EXPECT_EQ(RigheTemp(), 0);
}

TEST_F(Comparazione, TheFormRunsTheReportWithTheChosenColumnsAndRefusesColumnsThatNameNothing)
{
	Modello("A", "Consuntivo");
	Modello("B", "Altro");
	Risultato("A", "RIC", 1, 100, 1, 0, 0, 0, 80);
	Kvz_TDescrFormula d;
	d.f_Esercizio = kAnno;
	d.f_TipoCodice = DataEnum(E_KVZ_TIPOSIMBOLO, 3);
	d.f_Codice = "A";
	d.f_TipoBudget = DataEnum(E_KVZ_TIPOBUDGET, 1);
	d.f_Descrizione = "Obiettivo";
	InsertRow(d);
	FormDriver form = ApriConfronto("A", "A");

	// A column outside 1..10 or a budget type outside A..C names no column: refused up front.
	ASSERT_TRUE(form.Type("COMPARA_VALORE_COLONNA_1", "Si"));
	ASSERT_TRUE(form.Type("COMPARA_VALORE_NR_COLONNA_1", "11"));
	EXPECT_FALSE(form.RunBatch());
	EXPECT_EQ(m_Ui.LastMessage(), "Colonna 11 non valida nel primo termine: indicare un numero da 1 a 10.");
	ASSERT_TRUE(form.Type("COMPARA_VALORE_PRINC_1", "Si"));
	ASSERT_TRUE(form.Type("COMPARA_VALORE_BUDGET_2", "Si"));
	m_pDoc->m_Termine[1].TipoBudget = DataEnum(E_KVZ_TIPOBUDGET, 3);
	EXPECT_FALSE(form.RunBatch());
	EXPECT_EQ(m_Ui.LastMessage(), "Tipo budget non valido nel secondo termine: indicare il budget A, B o C.");
	EXPECT_TRUE(m_Runner.Requests().empty());

	// The main value against budget B, titled as the model titles that column.
	ASSERT_TRUE(form.Type("COMPARA_TIPO_BUDGET_2", "Budget B"));
	ASSERT_TRUE(form.RunBatch()) << m_Ui.LastMessage().str();
	EXPECT_EQ(Righe(), (std::vector<Confronto>{{"RIC", 100, 80, -20, -20}}));
	ASSERT_EQ(m_Runner.Requests().size(), 1u);
	const CRendoInfo& info = *m_Runner.Requests()[0].info;
	EXPECT_EQ(info.GetParamCount(), 19);
	EXPECT_EQ(info.GetParamValue("w_DescriColonnaUsata1")->FormatData(), "Principale");
	EXPECT_EQ(info.GetParamValue("w_DescriColonnaUsata2")->FormatData(), "Obiettivo");
	EXPECT_EQ(info.GetParamValue("w_DescriModello1")->FormatData(), "Consuntivo");

	// A read that fails after the placeholder rows were written leaves none of them.
	Risultato("B", "SOLO", 2, 5, 2);
	m_pConn->Db().Prepare("DROP TABLE Kvz_RiclassificazioneRighe")->Step();
	ASSERT_TRUE(form.Type("COMPARA_VALORE_BUDGET_2", "No"));
	ASSERT_TRUE(form.Type("COMPARA_MODELLO_2", "B"));
	m_Ui.Clear();
	EXPECT_FALSE(form.RunBatch());
	EXPECT_NE(m_Ui.Messages().front().text.Find("Kvz_RiclassificazioneRighe"), -1) << m_Ui.Messages().front().text.str();
	EXPECT_EQ(m_Ui.LastMessage(), "Nessun dato estratto per i parametri impostati.");
	EXPECT_EQ(RigheTemp(), 0);
	EXPECT_EQ(m_Runner.Requests().size(), 1u);
}

}  // namespace
