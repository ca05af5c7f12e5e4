// The adjustment selection and the adjustments document driven as a user drives their forms:
// accounts and preview, the month rows with their entry, splits, copy, totals and comparison,
// the read-only rules, the year change and the save question.
#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TBudgetRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TBudgetTesta.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCentriCommesseContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TParametri.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseRigaDett.h"
#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_CAssestamentoDoc.h"
#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_CBudgetDoc.h"
#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_CSelezAssestamentoDoc.h"
#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_DettAssestamentoDoc.h"
#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_RipAssestamentoDoc.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRipartizioniAssestamento.h"
#include "kvznet/kvzmod/kvzdocuments/tests/KvzDocumentsFixture.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvges/FormDriver.h"
#include "platform/plvoledb/driver/Driver.h"

namespace {

const char* const kRighe = "Righe piano base";
const char* const kSalvo = "Modifiche non ancora salvate. Le salvo?";

template <class Rec>
void Inserisci(Rec& rec)
{
	SqlTable t(&rec);
	t.Open(TRUE);
	t.AddNew(FALSE);
	t.Update();
}

class Assestamento : public KvzDocumentsLibrary
{
protected:
	void SetUp() override
	{
		KvzDocumentsLibrary::SetUp();
		m_Manager.SetADMInterfaceQuery(&QueryADM);
		AfxSetApplicationDate(DataDate(15, 3, 2026));
		Kvz_TParametri par;
		par.f_IDParam = 1;
		par.f_LenMastro = 2;
		par.f_NrSegmenti = 2;
		par.f_LenSeg1 = 2;
		par.f_LenSeg2 = 3;
		Inserisci(par);
	}

	void Conto(int anno, const char* conto, WORD tipo = 0, BOOL bModificabile = TRUE, BOOL bProponi = TRUE,
			   const char* collegato = "", BOOL bInverti = FALSE)
	{
		Kvz_TAnagContiKvz c;
		c.f_ContoCollegato = collegato;
		c.f_InversioneSegno = bInverti;
		c.f_Esercizio = anno;
		c.f_ContoKvz = conto;
		c.f_Descrizione = CString("Conto ") + conto;
		c.f_TipoConto = DataEnum(E_TIPOCONTO, tipo);
		c.f_ProponiInAssest = bProponi;
		c.f_ModifInAssest = bModificabile;
		Inserisci(c);
	}
	void Centro(int anno, const char* conto, const char* codice, WORD tipo = 0, double perc = 0)
	{
		Kvz_TCentriCommesseContiKvz c;
		c.f_PercRipartizione = perc;
		c.f_Esercizio = anno;
		c.f_ContoKvz = conto;
		c.f_CentroCommessa = codice;
		c.f_Descrizione = CString("Centro ") + codice;
		c.f_Tipo = DataEnum(E_KVZ_TIPOCENTROCOMM, tipo);
		Inserisci(c);
	}
	// A base plan with one row per (month, book balance, adjustment).
	void Piano(long id, int anno, const char* conto, std::vector<std::tuple<int, double, double>> mesi,
			   const char* cdc = "", WORD tipoCdc = 0, WORD tipoBudget = 0)
	{
		Kvz_TPianoBaseTesta t;
		t.f_IDPianoBase = id;
		t.f_Esercizio = anno;
		t.f_ContoKvz = conto;
		t.f_CentroCommessa = cdc;
		t.f_TipoCentroComm = DataEnum(E_KVZ_TIPOCENTROCOMM, tipoCdc);
		t.f_TipoBudget = DataEnum(E_KVZ_TIPOBUDGET, tipoBudget);
		Inserisci(t);
		for (auto [mese, saldo, rateo] : mesi)
		{
			Kvz_TPianoBaseRighe r;
			r.f_IDPianoBase = id;
			r.f_Mese = mese;
			r.f_Esercizio = anno;
			r.f_ContoKvz = conto;
			r.f_CentroCommessa = cdc;
			r.f_TipoCentroComm = DataEnum(E_KVZ_TIPOCENTROCOMM, tipoCdc);
			r.f_SaldoContabile = saldo;
			r.f_ImportoRateo = rateo;
			r.f_TotaleAssestato = saldo + rateo;
			Inserisci(r);
		}
	}
	static std::vector<std::tuple<int, double, double>> Dodici(double saldo, double rateo = 0)
	{
		std::vector<std::tuple<int, double, double>> mesi;
		for (int m = 1; m <= 12; ++m)
			mesi.emplace_back(m, saldo, rateo);
		return mesi;
	}
	void Dettaglio(long id, int mese, int riga, double importo, const char* descrizione = "riga")
	{
		Kvz_TPianoBaseRigaDett d;
		d.f_IDPianoBase = id;
		d.f_Mese = mese;
		d.f_Riga = riga;
		d.f_Descrizione = descrizione;
		d.f_ImportoRateoDett = importo;
		Inserisci(d);
	}
	void Budget(long id, int anno, const char* conto, WORD tipo, double mensile)
	{
		Kvz_TBudgetTesta t;
		t.f_IDBudget = id;
		t.f_Esercizio = anno;
		t.f_ContoKvz = conto;
		t.f_TipoBudget = DataEnum(E_KVZ_TIPOBUDGET, tipo);
		Inserisci(t);
		for (int m = 1; m <= 12; ++m)
		{
			Kvz_TBudgetRighe r;
			r.f_IDBudget = id;
			r.f_Mese = m;
			r.f_Esercizio = anno;
			r.f_ContoKvz = conto;
			r.f_TipoBudget = DataEnum(E_KVZ_TIPOBUDGET, tipo);
			r.f_ImportoMese = mensile;
			Inserisci(r);
		}
	}

	Kvz_CSelezAssestamentoDoc* Selezione()
	{
		auto* pSel = Open<Kvz_CSelezAssestamentoDoc>("BDSelezAssestamento");
		EXPECT_NE(pSel, nullptr);
		return pSel;
	}
	// The adjustments of the accounts row (from 0), at account level or of a centres row.
	Kvz_CAssestamentoDoc* Apri(Kvz_CSelezAssestamentoDoc* pSel, int nConto, int nCentro = -1)
	{
		FormDriver sel(pSel);
		EXPECT_TRUE(sel.SelectRow("Conti", nConto)) << sel.GetLastError();
		if (nCentro >= 0)
		{
			EXPECT_TRUE(sel.DoubleClick("Centri commesse", nCentro)) << sel.GetLastError();
		}
		else
		{
			EXPECT_TRUE(sel.DoubleClick("Conti", nConto)) << sel.GetLastError();
		}
		return dynamic_cast<Kvz_CAssestamentoDoc*>(pSel->GetDocAssestamento());
	}
	static std::vector<std::string> Colonna(FormDriver& form, const char* grid, const char* colonna)
	{
		std::vector<std::string> valori;
		for (int i = 0; i < form.RowCount(grid); ++i)
			valori.push_back(form.Cell(grid, i, colonna).str());
		return valori;
	}
	// The adjustments of a plan's months, as saved.
	std::vector<double> Ratei(long id)
	{
		std::vector<double> ratei;
		Kvz_TPianoBaseRighe r;
		SqlTable t(&r);
		t.Open(FALSE);
		t.SelectAll();
		t.AddParam("p1", r.f_IDPianoBase);
		t.AddFilterColumn(r.f_IDPianoBase);
		t.AddSortColumn(r.f_Mese);
		t.SetParamValue("p1", DataLng(id));
		for (t.Query(); !t.IsEOF(); t.MoveNext())
		{
			ratei.push_back(std::round(double(r.f_ImportoRateo) * 100) / 100);
			EXPECT_NEAR(r.f_TotaleAssestato, r.f_SaldoContabile + r.f_ImportoRateo, 1e-6) << id;
		}
		return ratei;
	}
	// Twelve months: zero before the month, the amount from it on (bDaMese) or in it alone.
	static std::vector<double> Da(int mese, double importo, bool bDaMese = true)
	{
		std::vector<double> v(12, 0.0);
		for (int m = mese; m <= (bDaMese ? 12 : mese); ++m)
			v[static_cast<size_t>(m - 1)] = importo;
		return v;
	}
	long Numero(const std::string& sql)
	{
		auto st = m_pConn->Db().Prepare(sql);
		return st->Step() ? static_cast<long>(std::get<std::int64_t>(st->Column(0))) : -1;
	}
};

TEST_F(Assestamento, TheSelectionListsTheAccountsWithTheirRunningPreview)
{
	Conto(2026, "4001");
	Conto(2026, "4002");
	Conto(2026, "4003", 0, TRUE, FALSE);  // not proposed
	Conto(2026, "0501", 1);
	Centro(2026, "4001", "PRD");
	Centro(2026, "4001", "J01", 1);
	Piano(1, 2026, "4001", {{1, 100, 10}, {2, 200, 20}, {3, 300, 0}});
	Piano(2, 2026, "0501", {{1, 1000, 5}, {2, 1100, 7}});
	Piano(3, 2026, "4001", {{1, 50, 0}}, "J01", 1);
	Piano(4, 2026, "4002", {{1, 0, 0}});

	Kvz_CSelezAssestamentoDoc* pSel = Selezione();
	FormDriver sel(pSel);
	EXPECT_EQ(Colonna(sel, "Conti", "ContoKvz"), (std::vector<std::string>{"4001", "4002"}));
	// The economic account's preview: every column runs.
	EXPECT_EQ(Colonna(sel, "Anteprima piano base", "PrCont"), (std::vector<std::string>{"100.00", "300.00", "600.00"}));
	EXPECT_EQ(Colonna(sel, "Anteprima piano base", "PrAssest"), (std::vector<std::string>{"10.00", "30.00", "30.00"}));
	EXPECT_EQ(Colonna(sel, "Anteprima piano base", "PrTotale"), (std::vector<std::string>{"110.00", "330.00", "630.00"}));
	EXPECT_EQ(Colonna(sel, "Centri commesse", "CentroCommessa"), (std::vector<std::string>{"J01", "PRD"}));

	// A job, then the account clicked again: back to the account's own plan.
	ASSERT_TRUE(sel.SelectRow("Centri commesse", 0));
	EXPECT_EQ(Colonna(sel, "Anteprima piano base", "Contabile"), (std::vector<std::string>{"50.00"}));
	ASSERT_TRUE(sel.SelectRow("Conti", 0));
	EXPECT_EQ(sel.RowCount("Anteprima piano base"), 3);
	// A cost centre without a plan shows none.
	ASSERT_TRUE(sel.SelectRow("Centri commesse", 1));
	EXPECT_EQ(sel.RowCount("Anteprima piano base"), 0);

	// A balance sheet repeats its adjusted figures while the book balance runs.
	ASSERT_TRUE(sel.Press("Patrim."));
	ASSERT_TRUE(sel.Press("&Interroga"));
	EXPECT_EQ(Colonna(sel, "Conti", "ContoKvz"), (std::vector<std::string>{"0501"}));
	EXPECT_EQ(Colonna(sel, "Anteprima piano base", "PrCont"), (std::vector<std::string>{"1000.00", "2100.00"}));
	EXPECT_EQ(Colonna(sel, "Anteprima piano base", "PrAssest"), (std::vector<std::string>{"5.00", "7.00"}));
	EXPECT_EQ(Colonna(sel, "Anteprima piano base", "PrTotale"), (std::vector<std::string>{"1005.00", "1107.00"}));

	// With the exclusions, only accounts with a month that has a balance (and an adjustment).
	ASSERT_TRUE(sel.Press("Econom."));
	ASSERT_TRUE(sel.Press("Escludi non movimentati"));
	ASSERT_TRUE(sel.Press("&Interroga"));
	EXPECT_EQ(Colonna(sel, "Conti", "ContoKvz"), (std::vector<std::string>{"4001"}));
	ASSERT_TRUE(sel.Press("Tutti"));
	ASSERT_TRUE(sel.Press("Escludi non assestati"));
	ASSERT_TRUE(sel.Press("&Interroga"));
	EXPECT_EQ(Colonna(sel, "Conti", "ContoKvz"), (std::vector<std::string>{"0501", "4001"}));

	// Another year: nothing proposed, nothing to open.
	ASSERT_TRUE(sel.Press("->"));
	EXPECT_EQ(sel.Text("Anno"), "2027");
	EXPECT_EQ(sel.RowCount("Conti") + sel.RowCount("Anteprima piano base") + sel.RowCount("Centri commesse"), 0);
	pSel->ApriAssestamento();
	EXPECT_EQ(pSel->GetDocAssestamento(), nullptr);

	EXPECT_EQ(pSel->CercaIDPianoBase(DataInt(2026), DataStr("4001"), DataEnum(E_KVZ_TIPOCENTROCOMM, 1), DataStr("J01")),
			  3);
	EXPECT_EQ(pSel->CercaIDPianoBase(DataInt(2026), DataStr("4001"), DataEnum(E_KVZ_TIPOCENTROCOMM, 0), DataStr("J01")),
			  -1);
}

TEST_F(Assestamento, AnAdjustmentIsEnteredWithItsTotalsAndComparisonThenTheSaveQuestionIsAnswered)
{
	Conto(2025, "4001");
	Conto(2026, "4001");
	Piano(1, 2025, "4001", Dodici(1200));
	Piano(2, 2026, "4001", Dodici(1000));
	Budget(7, 2026, "4001", 0, 1100);

	Kvz_CSelezAssestamentoDoc* pSel = Selezione();
	Kvz_CAssestamentoDoc* pDoc = Apri(pSel, 0);
	ASSERT_NE(pDoc, nullptr);
	FormDriver form(pDoc);
	// The selection waits while its adjustments are open.
	EXPECT_FALSE(pSel->GetMasterFrame()->IsWindowEnabled());
	EXPECT_EQ(form.Text("Conto:"), "4001");
	EXPECT_FALSE(form.IsEditable("Conto:"));
	EXPECT_NE(form.Grid(kRighe)->GetColumn(CString("PrTotale")), nullptr);

	// January, with the prior year and the budget beside it.
	ASSERT_TRUE(form.TypeCell(kRighe, 0, "Assestamento", "200"));
	EXPECT_EQ(form.Cell(kRighe, 0, "Totale"), "1200.00");
	EXPECT_EQ(form.Text("ASS_CONS_AP_MESE"), "1200.00");
	EXPECT_EQ(form.Text("ASS_BUDGET_MESE"), "1100.00");
	EXPECT_EQ(form.Text("ASS_DELTA_BDG_MESE"), "100.00");
	EXPECT_EQ(form.Text("ASS_DELTA_BDG_PERC_MESE"), "9.09");
	EXPECT_EQ(form.Text("ASS_CONS_AP_PROIEZ"), "14400.00");
	EXPECT_EQ(form.Text("ASS_INSERITO_PROIEZ"), "14400.00");
	EXPECT_EQ(form.Text("ASS_DELTA_BDG_PERC_PROIEZ"), "9.09");
	EXPECT_TRUE(pDoc->m_Modificato);
	EXPECT_TRUE(form.IsEditable("Ripris&tina"));

	// March: the progressives run over three months.
	ASSERT_TRUE(form.TypeCell(kRighe, 2, "Totale", "700"));
	EXPECT_EQ(form.Cell(kRighe, 2, "Assestamento"), "-300.00");
	EXPECT_EQ(form.Cell(kRighe, 2, "PrTotale"), "2900.00");
	EXPECT_EQ(form.Text("ASS_INSERITO_PROG"), "2900.00");
	EXPECT_EQ(form.Text("ASS_DELTA_AP_PROG"), "-700.00");
	EXPECT_EQ(form.Text("ASS_DELTA_AP_PERC_PROG"), "-19.44");
	EXPECT_EQ(form.Text("ASS_INSERITO_PROIEZ"), "11600.00");
	EXPECT_EQ(form.Text("ASS_DELTA_AP_PERC_PROIEZ"), "-19.44");

	// Cancel keeps the document open with its changes; Yes saves and closes.
	m_Ui.PushAnswer(IDCANCEL);
	EXPECT_FALSE(form.Close());
	EXPECT_EQ(m_Ui.LastMessage(), kSalvo);
	EXPECT_EQ(pSel->GetDocAssestamento(), pDoc);
	m_Ui.PushAnswer(IDYES);
	EXPECT_TRUE(form.Close());
	EXPECT_EQ(pSel->GetDocAssestamento(), nullptr);
	EXPECT_TRUE(pSel->GetMasterFrame()->IsWindowEnabled());
}

TEST_F(Assestamento, EvenSplitsAreRoundedAndALossQuarterIsLeftAlone)
{
	Conto(2026, "4001");
	Piano(1, 2026, "4001", Dodici(100, 5));
	Kvz_CAssestamentoDoc* pDoc = Apri(Selezione(), 0);
	ASSERT_NE(pDoc, nullptr);
	FormDriver form(pDoc);
	ASSERT_TRUE(form.Type("Importo totale", "1000"));
	ASSERT_TRUE(form.Press("&Ripartizione"));
	EXPECT_EQ(Colonna(form, kRighe, "Assestamento"), std::vector<std::string>(12, "83.33"));
	EXPECT_EQ(form.Cell(kRighe, 11, "PrAssest."), "999.96");

	ASSERT_TRUE(form.Press("Trimestrale"));
	EXPECT_EQ(form.Text("Importo totale"), "0.00");
	EXPECT_FALSE(form.IsEditable("Importo totale"));
	ASSERT_TRUE(form.Type("Trim. I", "300"));
	ASSERT_TRUE(form.Type("Trim. II", "-300"));
	ASSERT_TRUE(form.Press("Totale"));  // the amounts are totals now
	ASSERT_TRUE(form.Press("&Ripartizione"));
	EXPECT_EQ(Colonna(form, kRighe, "Totale"),
			  (std::vector<std::string>{"100.00", "100.00", "100.00", "183.33", "183.33", "183.33", "183.33", "183.33",
										"183.33", "183.33", "183.33", "183.33"}));
	EXPECT_EQ(form.Cell(kRighe, 0, "Assestamento"), "0.00");
}

TEST_F(Assestamento, WithMonthsMissingTheCommandsMatchRowsByMonth)
{
	Conto(2026, "4001");
	Piano(1, 2026, "4001", {{1, 100, 10}, {2, 200, 20}, {4, 400, 40}});
	Kvz_CAssestamentoDoc* pDoc = Apri(Selezione(), 0);
	ASSERT_NE(pDoc, nullptr);
	FormDriver form(pDoc);

	// April copies February, inverted.
	ASSERT_TRUE(form.SelectRow(kRighe, 2));
	ASSERT_TRUE(form.Type("ASS_ASS_MESE_FROM", "2"));
	ASSERT_TRUE(form.Press("Invertendo il segno"));
	pDoc->m_Modificato = FALSE;
	ASSERT_TRUE(form.Press("Copia dal mese:"));
	EXPECT_EQ(Colonna(form, kRighe, "Assestamento"), (std::vector<std::string>{"10.00", "20.00", "-20.00"}));
	// Copied figures are guarded by the save question like typed ones.
	EXPECT_TRUE(pDoc->m_Modificato);
	// March is not in the plan: nothing to copy from.
	ASSERT_TRUE(form.Type("ASS_ASS_MESE_FROM", "3"));
	ASSERT_TRUE(form.Press("Copia dal mese:"));
	EXPECT_EQ(form.Cell(kRighe, 2, "Assestamento"), "-20.00");

	// Book balances evened out over February to April: the two months the plan holds.
	FormDriver::AnswerDialog([](FormDriver& dlg) {
		EXPECT_EQ(dlg.Text("Immettere un range per la ripartizione dei saldi :"), "1-4");
		EXPECT_TRUE(dlg.Type("Immettere un range per la ripartizione dei saldi :", "2-4"));
		return IDOK;
	});
	ASSERT_TRUE(form.Command("Ripartizione saldi"));
	EXPECT_EQ(Colonna(form, kRighe, "Totale"), (std::vector<std::string>{"110.00", "300.00", "300.00"}));
	EXPECT_EQ(Colonna(form, kRighe, "Assestamento"), (std::vector<std::string>{"10.00", "100.00", "-100.00"}));

	// A range with a semicolon is refused in the dialog, which stays open until cancelled.
	m_Ui.Clear();
	FormDriver::AnswerDialog([](FormDriver& dlg) {
		EXPECT_TRUE(dlg.Type("Immettere un range per la ripartizione dei saldi :", "1;2"));
		return IDOK;
	});
	FormDriver::AnswerDialog([](FormDriver&) { return IDCANCEL; });
	ASSERT_TRUE(form.Command("Ripartizione saldi"));
	EXPECT_EQ(m_Ui.LastMessage(), "Il range indicato contiene caratteri non validi.");
	EXPECT_EQ(form.Cell(kRighe, 0, "Totale"), "110.00");

	// A yearly split reaches the months there are.
	ASSERT_TRUE(form.Type("Importo totale", "120"));
	ASSERT_TRUE(form.Press("&Ripartizione"));
	EXPECT_EQ(Colonna(form, kRighe, "Assestamento"), (std::vector<std::string>{"10.00", "10.00", "10.00"}));
	// April is the fourth month: its projection is over four.
	ASSERT_TRUE(form.SelectRow(kRighe, 2));
	EXPECT_EQ(form.Text("ASS_INSERITO_PROG"), "730.00");
	EXPECT_EQ(form.Text("ASS_INSERITO_PROIEZ"), "2190.00");
}

TEST_F(Assestamento, DetailLinesAreDeletedOnlyBySavingTheSplit)
{
	Conto(2026, "4001");
	Piano(1, 2026, "4001", Dodici(100, 5));
	Dettaglio(1, 2, 1, 3);
	Dettaglio(1, 2, 2, 2);
	Dettaglio(1, 8, 1, 5);
	Kvz_CAssestamentoDoc* pDoc = Apri(Selezione(), 0);
	ASSERT_NE(pDoc, nullptr);
	FormDriver form(pDoc);
	EXPECT_EQ(form.Cell(kRighe, 1, "Dett"), "Si");
	// A row with detail lines changes through its detail.
	ASSERT_TRUE(form.TypeCell(kRighe, 1, "Assestamento", "9"));
	EXPECT_EQ(form.Cell(kRighe, 1, "Assestamento"), "5.00");

	// No: the lines stay, the amounts are assigned all the same.
	ASSERT_TRUE(form.Type("Importo totale", "120"));
	m_Ui.PushAnswer(IDNO);
	ASSERT_TRUE(form.Press("&Ripartizione"));
	EXPECT_EQ(m_Ui.LastMessage(), "Ci sono dei dettagli assestamenti presenti. Si vuole cancellarli?");
	EXPECT_EQ(form.Cell(kRighe, 1, "Assestamento"), "10.00");
	EXPECT_EQ(form.Cell(kRighe, 1, "Dett"), "Si");
	EXPECT_EQ(pDoc->GetNumDettagliPendenti(), 0);

	// Yes: the month has no detail any more, its lines go with the save.
	m_Ui.PushAnswer(IDYES);
	ASSERT_TRUE(form.Press("&Ripartizione"));
	EXPECT_EQ(form.Cell(kRighe, 1, "Dett"), "No");
	ASSERT_NE(pDoc->GetArrayDettaglio(2), nullptr);
	EXPECT_EQ(pDoc->GetArrayDettaglio(2)->GetSize(), 0);
	EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_PianoBaseRDett"), 3);

	// "Ripristina" reloads: the lines are still there.
	m_Ui.PushAnswer(IDYES);
	ASSERT_TRUE(form.Press("Ripris&tina"));
	EXPECT_EQ(form.Cell(kRighe, 1, "Dett"), "Si");
	EXPECT_EQ(pDoc->GetNumDettagliPendenti(), 0);
	EXPECT_FALSE(pDoc->m_Modificato);

	// No, then saved: every line stays.
	m_Ui.PushAnswer(IDNO);
	ASSERT_TRUE(form.Press("&Ripartizione"));
	ASSERT_TRUE(form.Press("&Salva"));
	EXPECT_FALSE(pDoc->m_Modificato);
	EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_PianoBaseRDett WHERE IDPianoBase = 1 AND Mese = 2"), 2);
	EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_PianoBaseRDett WHERE IDPianoBase = 1 AND Mese = 8"), 1);

	// Yes over the first quarter: nothing goes until the save, then February's lines go and
	// August's, outside the range, stay.
	ASSERT_TRUE(form.Press("Trimestrale"));
	ASSERT_TRUE(form.Type("Trim. I", "300"));
	m_Ui.Clear();
	m_Ui.PushAnswer(IDYES);
	ASSERT_TRUE(form.Press("&Ripartizione"));
	EXPECT_EQ(m_Ui.LastMessage(), "Ci sono dei dettagli assestamenti presenti. Si vuole cancellarli?");
	EXPECT_EQ(Colonna(form, kRighe, "Dett"), (std::vector<std::string>{"No", "No", "No", "No", "No", "No", "No",
																		"Si", "No", "No", "No", "No"}));
	EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_PianoBaseRDett WHERE IDPianoBase = 1 AND Mese = 2"), 2);
	ASSERT_TRUE(form.Press("&Salva"));
	EXPECT_FALSE(pDoc->m_Modificato);
	EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_PianoBaseRDett WHERE IDPianoBase = 1 AND Mese = 2"), 0);
	EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_PianoBaseRDett WHERE IDPianoBase = 1 AND Mese = 8"), 1);
	EXPECT_EQ(Ratei(1)[1], 100.0);
}

TEST_F(Assestamento, CancellingTheYearChangeKeepsEverythingNoDropsThePending)
{
	Conto(2025, "4001");
	Conto(2026, "4001");
	Piano(1, 2025, "4001", Dodici(50));
	Piano(2, 2026, "4001", Dodici(100));
	Dettaglio(2, 1, 1, 0);
	Kvz_CAssestamentoDoc* pDoc = Apri(Selezione(), 0);
	ASSERT_NE(pDoc, nullptr);
	FormDriver form(pDoc);
	ASSERT_TRUE(form.Type("Importo totale", "120"));
	m_Ui.PushAnswer(IDYES);
	ASSERT_TRUE(form.Press("&Ripartizione"));
	ASSERT_EQ(pDoc->GetNumDettagliPendenti(), 1);

	// Typed, then cancelled: the year goes back, figures and pending lines stay.
	m_Ui.PushAnswer(IDCANCEL);
	ASSERT_TRUE(form.Type("Anno", "2025"));
	EXPECT_EQ(m_Ui.LastMessage(), kSalvo);
	EXPECT_EQ(form.Text("Anno"), "2026");
	EXPECT_EQ(form.Cell(kRighe, 0, "Assestamento"), "10.00");
	EXPECT_EQ(pDoc->GetNumDettagliPendenti(), 1);
	m_Ui.PushAnswer(IDCANCEL);
	ASSERT_TRUE(form.Press("<-"));
	EXPECT_EQ(form.Text("Anno"), "2026");
	EXPECT_EQ(pDoc->GetNumDettagliPendenti(), 1);

	// No: the pending lines are dropped and the other year loads from the database.
	m_Ui.PushAnswer(IDNO);
	ASSERT_TRUE(form.Press("<-"));
	EXPECT_EQ(form.Text("Anno"), "2025");
	EXPECT_EQ(pDoc->GetNumDettagliPendenti(), 0);
	EXPECT_EQ(form.Cell(kRighe, 0, "Contabile"), "50.00");
	EXPECT_FALSE(pDoc->m_Modificato);
	// Back: nothing changed in the database.
	ASSERT_TRUE(form.Press("->"));
	EXPECT_EQ(form.Cell(kRighe, 0, "Assestamento"), "0.00");
	EXPECT_EQ(form.Cell(kRighe, 0, "Dett"), "Si");
}

TEST_F(Assestamento, AnAccountClosedToAdjustmentIsReadOnlyExceptForItsCentres)
{
	Conto(2026, "4001", 0, FALSE);
	Conto(2026, "0501", 1);
	Centro(2026, "4001", "PRD");
	Piano(1, 2026, "4001", Dodici(100), "", 0, 3);
	Piano(2, 2026, "4001", Dodici(40), "PRD");
	Piano(3, 2026, "0501", Dodici(10));

	Kvz_CSelezAssestamentoDoc* pSel = Selezione();
	FormDriver sel(pSel);
	ASSERT_TRUE(sel.Type("Default t.budget", "Budget C"));
	Kvz_CAssestamentoDoc* pDoc = Apri(pSel, 0);
	ASSERT_NE(pDoc, nullptr);
	{
		FormDriver form(pDoc);
		EXPECT_TRUE(pDoc->m_SoloLettura);
		// A header without a budget type takes the selection's.
		EXPECT_EQ(form.Text("Tipo budget"), "Budget C");
		EXPECT_FALSE(form.IsCellEditable(kRighe, 0, "Assestamento"));
		EXPECT_FALSE(form.IsCellEditable(kRighe, 0, "Totale"));
		EXPECT_FALSE(form.IsEditable("Importo totale"));
		EXPECT_FALSE(form.IsEditable("Annua"));
		EXPECT_FALSE(form.IsEditable("&Salva"));
		EXPECT_FALSE(form.IsCommandEnabled(ID_ASS_RIPARTIZIONE_SALDI));
		// The run command refuses as "&Salva" does, even with a figure changed in the grid.
		pDoc->GetDBTRighe()->GetRiga(0)->f_ImportoRateo = 50.0;
		m_Ui.Clear();
		EXPECT_FALSE(form.RunBatch());
		EXPECT_EQ(m_Ui.LastMessage(), "Il conto non e' modificabile in assestamento: nessun salvataggio eseguito.");
		EXPECT_EQ(Ratei(1), std::vector<double>(12, 0.0));
		EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_RipartizioniAssestamento"), 0);
		EXPECT_TRUE(form.Close());
	}
	// Its cost centre is adjusted.
	pDoc = Apri(pSel, 0, 0);
	ASSERT_NE(pDoc, nullptr);
	{
		FormDriver form(pDoc);
		EXPECT_FALSE(pDoc->m_SoloLettura);
		EXPECT_EQ(form.Text("Centro/Commessa"), "PRD");
		EXPECT_TRUE(form.TypeCell(kRighe, 0, "Assestamento", "1")) << form.GetLastError();
		EXPECT_TRUE(form.IsEditable("&Salva"));
		m_Ui.PushAnswer(IDNO);
		EXPECT_TRUE(form.Close());
	}
	// A balance sheet has no progressive columns in its grid.
	ASSERT_TRUE(sel.Press("Patrim."));
	ASSERT_TRUE(sel.Press("&Interroga"));
	pDoc = Apri(pSel, 0);
	ASSERT_NE(pDoc, nullptr);
	FormDriver form(pDoc);
	EXPECT_EQ(form.Grid(kRighe)->GetColumn(CString("PrTotale")), nullptr);
	EXPECT_NE(form.Grid(kRighe)->GetColumn(CString("Dett")), nullptr);
}

TEST_F(Assestamento, ABudgetTypeWithoutABudgetIsSaidAndClearsTheColumn)
{
	Conto(2026, "4001");
	Piano(1, 2026, "4001", Dodici(100));
	Budget(5, 2026, "4001", 1, 90);
	Kvz_CAssestamentoDoc* pDoc = Apri(Selezione(), 0);
	ASSERT_NE(pDoc, nullptr);
	FormDriver form(pDoc);
	EXPECT_EQ(form.Text("ASS_BUDGET_MESE"), "0.00");
	ASSERT_TRUE(form.Type("Tipo budget", "Budget B"));
	EXPECT_EQ(form.Text("ASS_BUDGET_MESE"), "90.00");
	EXPECT_EQ(form.Text("ASS_BUDGET_PROIEZ"), "1080.00");
	m_Ui.Clear();
	ASSERT_TRUE(form.Type("Tipo budget", "Budget C"));
	EXPECT_EQ(m_Ui.LastMessage(), "Attenzione: non e' stato definito il budget di tipo Budget C per il conto 4001 anno 2026.");
	EXPECT_EQ(form.Text("ASS_BUDGET_MESE"), "0.00");
	EXPECT_TRUE(pDoc->m_Modificato);
}

TEST_F(Assestamento, TheAdjustmentsOpenOnlyFromTheSelectionWithAPlan)
{
	Conto(2026, "4001");
	EXPECT_EQ(Open<Kvz_CAssestamentoDoc>("DAssestamento"), nullptr);
	// The account has no base plan: its preview is empty.
	Kvz_CSelezAssestamentoDoc* pSel = Selezione();
	EXPECT_EQ(Apri(pSel, 0), nullptr);
	EXPECT_TRUE(pSel->GetMasterFrame()->IsWindowEnabled());
}

TEST_F(Assestamento, ParentsFollowTheCodeSegments)
{
	auto parametri = [](int mastro, std::vector<int> seg) {
		Kvz_TParametri p;
		p.f_LenMastro = mastro;
		DataInt* lunghezze[] = {&p.f_LenSeg1, &p.f_LenSeg2, &p.f_LenSeg3, &p.f_LenSeg4,
								&p.f_LenSeg5, &p.f_LenSeg6, &p.f_LenSeg7};
		for (size_t i = 0; i < seg.size(); ++i)
			*lunghezze[i] = seg[i];
		return p;
	};
	const Kvz_TParametri sette = parametri(2, {1, 1, 1, 1, 1, 1, 2});
	const struct
	{
		Kvz_TParametri par;
		const char* conto;
		const char* padre;
	} casi[] = {
		{sette, "12", ""},  // a ledger has no parent
		{sette, "123", "12"},
		{sette, "1234", "123"},
		{sette, "12345678", "1234567"},
		{sette, "1234567890", "12345678"},  // the seventh level
		{sette, "123456789012", "12345678"},  // longer than every level
		{sette, "1", ""},  // shorter than the first level
		{parametri(2, {2, 3}), "4001001", "4001"},
		{parametri(2, {2, 3}), "40010", "40"},  // between two levels: the lower one's parent
		// A segment of no length adds no level; the ones after it still count.
		{parametri(2, {2, 0, 3}), "4001001", "4001"},
		{parametri(2, {2, 0, 3}), "4001", "40"},
		{parametri(2, {2, 0, 3}), "40010", "40"},
		{parametri(2, {0, 2, 0, 0, 3}), "4001001", "4001"},
		{parametri(0, {}), "4001001", ""},  // no parameters
		{parametri(0, {2, 3}), "4001001", ""},
	};
	for (const auto& c : casi)
	{
		SCOPED_TRACE(c.conto);
		EXPECT_EQ(Kvz_CAssestamentoDoc::CalcolaContoPadre(DataStr(c.conto), c.par).GetString(), c.padre);
	}
}

// A link to an upper level feeds its first lowest-level account and the levels above from there,
// as the rebuild does: after every save each parent is the sum of its leaves.
TEST_F(Assestamento, ALinkToAnUpperLevelFeedsItsFirstLeafAsTheRebuild)
{
	Conto(2026, "4001001", 0, TRUE, TRUE, "0501");
	for (const char* c : {"4001", "40"})
		Conto(2026, c, 0, TRUE, FALSE);
	for (const char* c : {"05", "0501", "0501001", "0501002"})
		Conto(2026, c, 1, TRUE, FALSE);
	const std::vector<std::pair<long, const char*>> piani = {{1, "4001001"}, {2, "4001"},	 {3, "40"},
															  {4, "05"},	  {5, "0501"},	 {6, "0501001"},
															  {7, "0501002"}};
	for (auto [id, conto] : piani)
		Piano(id, 2026, conto, Dodici(1000, id == 7 ? 2 : 0));
	// The parents start as the sum of their leaves.
	m_pConn->ExecuteSQL("UPDATE Kvz_PianoBaseR SET ImportoRateo = 2, TotaleAssestato = SaldoContabile + 2 WHERE IDPianoBase IN (4, 5)");

	Kvz_CSelezAssestamentoDoc* pSel = Selezione();
	Kvz_CAssestamentoDoc* pDoc = Apri(pSel, 0);
	ASSERT_NE(pDoc, nullptr);
	FormDriver form(pDoc);
	ASSERT_EQ(pDoc->GetTesta()->f_ContoKvz.GetString(), "4001001");
	ASSERT_TRUE(form.TypeCell(kRighe, 2, "Assestamento", "100"));
	m_Ui.Clear();
	ASSERT_TRUE(form.Press("&Salva"));
	EXPECT_EQ(m_Ui.LastMessage(), "Il conto 0501 collegato al conto economico 4001001 non è di ultimo livello: il suo "
								  "assestamento è riportato nel conto 0501001 e da lì nei livelli superiori.");
	ASSERT_TRUE(form.TypeCell(kRighe, 4, "Assestamento", "10"));
	ASSERT_TRUE(form.Press("&Salva"));
	std::vector<double> foglia = Da(3, 100);
	for (size_t m = 4; m < 12; ++m)
		foglia[m] = 110;
	EXPECT_EQ(Ratei(6), foglia);
	EXPECT_EQ(Ratei(7), std::vector<double>(12, 2.0));
	for (long padre : {5L, 4L})
	{
		SCOPED_TRACE(padre);
		std::vector<double> somma = Ratei(6);
		for (size_t m = 0; m < 12; ++m)
			somma[m] += Ratei(7)[m];
		EXPECT_EQ(Ratei(padre), somma);
	}
}

TEST_F(Assestamento, TheSaveCarriesEachChangeOnceToParentsLinkedAccountAndCentres)
{
	// Levels 2, 4, 7: 4001001 under 4001 under 40, the linked 0501001 under 0501 under 05.
	Conto(2026, "4001001", 0, TRUE, TRUE, "0501001");
	Conto(2026, "4002001", 0, TRUE, TRUE, "0501001", TRUE);
	for (const char* c : {"4001", "40", "4002"})
		Conto(2026, c, 0, TRUE, FALSE);
	for (const char* c : {"0501001", "0501", "05"})
		Conto(2026, c, 1, TRUE, FALSE);
	Centro(2026, "4001001", "PRD", 0, 25);
	Centro(2026, "4001001", "AMM", 0, 0);
	const std::vector<std::pair<long, const char*>> piani = {{1, "4001001"}, {2, "4001"},	{3, "40"},
															  {4, "0501001"}, {5, "0501"}, {6, "05"},
															  {7, "4002001"}, {8, "4002"}};
	for (auto [id, conto] : piani)
		Piano(id, 2026, conto, Dodici(1000, id == 3 ? 1 : 0));
	Piano(9, 2026, "4001001", Dodici(250, 4), "PRD");
	Piano(10, 2026, "4001001", Dodici(100, 2), "AMM");

	Kvz_CSelezAssestamentoDoc* pSel = Selezione();
	Kvz_CAssestamentoDoc* pDoc = Apri(pSel, 0);
	ASSERT_NE(pDoc, nullptr);
	{
		FormDriver form(pDoc);
		ASSERT_TRUE(form.TypeCell(kRighe, 2, "Assestamento", "100"));
		ASSERT_TRUE(form.TypeCell(kRighe, 5, "Assestamento", "33,33"));
		ASSERT_TRUE(form.Press("&Salva"));
		EXPECT_FALSE(pDoc->m_Modificato);
		for (int ripeti = 0; ripeti < 2; ++ripeti)
		{
			SCOPED_TRACE(ripeti);  // saving again adds nothing
			std::vector<double> mese = Da(3, 100, false);
			mese[5] = 33.33;
			EXPECT_EQ(Ratei(1), mese);
			EXPECT_EQ(Ratei(2), mese);
			std::vector<double> padre = mese;
			for (double& v : padre)
				v += 1;
			EXPECT_EQ(Ratei(3), padre);
			// The balance sheet carries the change into every later month.
			std::vector<double> patrimonio = Da(3, 100);
			for (size_t m = 5; m < 12; ++m)
				patrimonio[m] = 133.33;
			EXPECT_EQ(Ratei(4), patrimonio);
			EXPECT_EQ(Ratei(5), patrimonio);
			EXPECT_EQ(Ratei(6), patrimonio);
			// A centre's share replaces its adjustment, rounded; a centre without one is left.
			std::vector<double> centro = Da(3, 25, false);
			centro[5] = 8.33;
			EXPECT_EQ(Ratei(9), centro);
			EXPECT_EQ(Ratei(10), std::vector<double>(12, 2.0));
			ASSERT_TRUE(form.Press("&Salva"));
		}

		// A month held by another session: nothing of the save stays, the user is told.
		Jex_TUPianoBaseRighe altri;
		ASSERT_EQ(altri.FindRecord(DataLng(1), DataInt(5), TRUE), TableReader::FOUND);
		ASSERT_TRUE(form.TypeCell(kRighe, 1, "Assestamento", "7"));
		ASSERT_TRUE(form.TypeCell(kRighe, 4, "Assestamento", "10"));
		m_Ui.Clear();
		ASSERT_TRUE(form.Press("&Salva"));
		EXPECT_EQ(m_Ui.LastMessage(), "Salvataggio non eseguito: l'assestamento non e' stato registrato.");
		EXPECT_TRUE(pDoc->m_Modificato);
		EXPECT_EQ(Ratei(1)[1], 0.0);
		EXPECT_EQ(Ratei(2)[1], 0.0);
		EXPECT_EQ(Ratei(4)[1], 0.0);
		// Yes to the save question fails the same way: the document and its year stay, and
		// the changes are still guarded.
		for (const char* comando : {"", "->"})
		{
			SCOPED_TRACE(comando);
			m_Ui.Clear();
			m_Ui.PushAnswer(IDYES);
			if (*comando)
			{
				ASSERT_TRUE(form.Press(comando));
			}
			else
			{
				EXPECT_FALSE(form.Close());
			}
			ASSERT_FALSE(m_Ui.Messages().empty());
			EXPECT_EQ(m_Ui.Messages().front().text, kSalvo);
			EXPECT_EQ(m_Ui.LastMessage(), "Salvataggio non eseguito: l'assestamento non e' stato registrato.");
			EXPECT_EQ(pSel->GetDocAssestamento(), pDoc);
			EXPECT_EQ(form.Text("Anno"), "2026");
			EXPECT_TRUE(pDoc->m_Modificato);
			EXPECT_EQ(form.Cell(kRighe, 1, "Assestamento"), "7.00");
			EXPECT_EQ(Ratei(2)[1], 0.0);
		}
		// Released: the retry carries the two changes once.
		altri.Free();
		ASSERT_TRUE(form.Press("&Salva"));
		EXPECT_FALSE(pDoc->m_Modificato);
		EXPECT_EQ(Ratei(2)[1], 7.0);
		EXPECT_EQ(Ratei(2)[4], 10.0);
		EXPECT_EQ(Ratei(4)[1], 7.0);
		EXPECT_EQ(Ratei(4)[4], 117.0);
		EXPECT_EQ(Ratei(4)[11], 150.33);
		EXPECT_TRUE(form.Close());
	}

	// With the sign inverted the linked account goes the other way.
	FormDriver sel(pSel);
	ASSERT_TRUE(sel.SelectRow("Conti", 1));
	pDoc = Apri(pSel, 1);
	ASSERT_NE(pDoc, nullptr);
	FormDriver form(pDoc);
	ASSERT_TRUE(form.TypeCell(kRighe, 2, "Assestamento", "100"));
	ASSERT_TRUE(form.Press("&Salva"));
	EXPECT_EQ(Ratei(8), Da(3, 100, false));
	EXPECT_EQ(Ratei(4), (std::vector<double>{0, 7, 7, 7, 17, 50.33, 50.33, 50.33, 50.33, 50.33, 50.33, 50.33}));
	EXPECT_EQ(Ratei(6)[11], 50.33);
}

TEST_F(Assestamento, AnSqlErrorAnywhereInTheSaveUndoesItAllAndTheRetryCarriesEachChangeOnce)
{
	// Levels 2, 4, 7: 4001001 under 4001 under 40, the linked 0501001 under 0501 under 05.
	Conto(2026, "4001001", 0, TRUE, TRUE, "0501001");
	for (const char* c : {"4001", "40"})
		Conto(2026, c, 0, TRUE, FALSE);
	for (const char* c : {"0501001", "0501", "05"})
		Conto(2026, c, 1, TRUE, FALSE);
	Centro(2026, "4001001", "PRD", 0, 25);
	const std::vector<std::pair<long, const char*>> piani = {{1, "4001001"}, {2, "4001"}, {3, "40"},
															  {4, "0501001"}, {5, "0501"}, {6, "05"}};
	for (auto [id, conto] : piani)
		Piano(id, 2026, conto, Dodici(1000));
	Piano(7, 2026, "4001001", Dodici(250, 4), "PRD");
	Dettaglio(1, 12, 1, 0, "nota");
	std::vector<std::vector<double>> prima;
	for (long id = 1; id <= 7; ++id)
		prima.push_back(Ratei(id));

	Kvz_CSelezAssestamentoDoc* pSel = Selezione();
	Kvz_CAssestamentoDoc* pDoc = Apri(pSel, 0);
	ASSERT_NE(pDoc, nullptr);
	FormDriver form(pDoc);
	ASSERT_TRUE(form.TypeCell(kRighe, 2, "Assestamento", "100"));
	ASSERT_TRUE(form.TypeCell(kRighe, 5, "Assestamento", "33,33"));

	// Each refusal comes after the account's own rows, and most after part of a level, are written.
	const std::vector<std::pair<const char*, const char*>> rifiuti = {
		{"parent 40 in June", "BEFORE UPDATE ON Kvz_PianoBaseR WHEN NEW.IDPianoBase = 3 AND NEW.Mese = 6"},
		{"linked parent 05 in July", "BEFORE UPDATE ON Kvz_PianoBaseR WHEN NEW.IDPianoBase = 6 AND NEW.Mese = 7"},
		{"centre PRD in June", "BEFORE UPDATE ON Kvz_PianoBaseR WHEN NEW.IDPianoBase = 7 AND NEW.Mese = 6"},
		{"detail lines", "BEFORE DELETE ON Kvz_PianoBaseRDett"},
	};
	for (auto [caso, quando] : rifiuti)
	{
		SCOPED_TRACE(caso);
		m_pConn->ExecuteSQL(CString("CREATE TRIGGER KvzTestRifiuta ") + quando +
							" BEGIN SELECT RAISE(ABORT, 'riga rifiutata'); END");
		m_Ui.Clear();
		ASSERT_TRUE(form.Press("&Salva"));
		bool bErroreDetto = false;
		for (const auto& msg : m_Ui.Messages())
			bErroreDetto = bErroreDetto || msg.text.Find("riga rifiutata") >= 0;
		EXPECT_TRUE(bErroreDetto);
		EXPECT_EQ(m_Ui.LastMessage(), "Salvataggio non eseguito: l'assestamento non e' stato registrato.");
		EXPECT_TRUE(pDoc->m_Modificato);
		EXPECT_EQ(form.Cell(kRighe, 2, "Assestamento"), "100.00");
		for (long id = 1; id <= 7; ++id)
			EXPECT_EQ(Ratei(id), prima[static_cast<size_t>(id - 1)]) << id;
		EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_PianoBaseRDett WHERE IDPianoBase = 1 AND Mese = 12"), 1);
		EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_RipartizioniAssestamento"), 0);
		m_pConn->ExecuteSQL("DROP TRIGGER KvzTestRifiuta");
	}

	// Nothing refused: every change reaches every level once.
	m_Ui.Clear();
	ASSERT_TRUE(form.Press("&Salva"));
	EXPECT_FALSE(pDoc->m_Modificato);
	std::vector<double> mese = Da(3, 100, false);
	mese[5] = 33.33;
	for (long id : {1, 2, 3})
		EXPECT_EQ(Ratei(id), mese) << id;
	std::vector<double> patrimonio = Da(3, 100);
	for (size_t m = 5; m < 12; ++m)
		patrimonio[m] = 133.33;
	for (long id : {4, 5, 6})
		EXPECT_EQ(Ratei(id), patrimonio) << id;
	std::vector<double> centro = Da(3, 25, false);
	centro[5] = 8.33;
	EXPECT_EQ(Ratei(7), centro);
	EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_PianoBaseRDett WHERE IDPianoBase = 1 AND Mese = 12"), 1);
	EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_RipartizioniAssestamento"), 12);
	EXPECT_TRUE(form.Close());
}

TEST_F(Assestamento, ACentreSavesIntoItsAccountAndTheParentsOnlyWithoutASplit)
{
	Conto(2026, "4001001");
	Conto(2026, "4001", 0, TRUE, FALSE);
	Centro(2026, "4001001", "PRD", 0, 25);
	Centro(2026, "4001001", "AMM", 0, 0);
	Piano(1, 2026, "4001001", Dodici(1000));
	Piano(2, 2026, "4001", Dodici(1000));
	Piano(3, 2026, "4001001", Dodici(100), "AMM");
	Piano(4, 2026, "4001001", Dodici(100), "PRD");

	Kvz_CSelezAssestamentoDoc* pSel = Selezione();
	for (int centro : {0, 1})  // AMM, then PRD
	{
		SCOPED_TRACE(centro);
		Kvz_CAssestamentoDoc* pDoc = Apri(pSel, 0, centro);
		ASSERT_NE(pDoc, nullptr);
		FormDriver form(pDoc);
		ASSERT_TRUE(form.TypeCell(kRighe, 0, "Assestamento", "5"));
		m_Ui.Clear();
		m_Ui.PushAnswer(IDYES);
		ASSERT_TRUE(form.Close());
	}
	EXPECT_EQ(Ratei(3), Da(1, 5, false));
	EXPECT_EQ(Ratei(4), Da(1, 5, false));
	EXPECT_EQ(Ratei(1), Da(1, 10, false));
	// The split centre's change leaves the parent out, and says so.
	EXPECT_EQ(Ratei(2), Da(1, 5, false));
	EXPECT_NE(m_Ui.Messages().size(), 0u);
	bool bDetto = false;
	for (const ShownMessage& m : m_Ui.Messages())
		bDetto = bDetto || m.text.Find("L'inserimento non aggiorna i livelli superiori") >= 0;
	EXPECT_TRUE(bDetto);
}

TEST_F(Assestamento, DetailLinesGoBackIntoTheCallerOnlyWhenConfirmed)
{
	const char* const kLinee = "Dettaglio assestamento";
	Conto(2026, "4001");
	Piano(1, 2026, "4001", Dodici(100, 5));
	Dettaglio(1, 2, 1, 3);
	Dettaglio(1, 2, 2, 2);
	Dettaglio(1, 2, 5, 0, "");  // blank: dropped by the next save
	Kvz_CSelezAssestamentoDoc* pSel = Selezione();
	Kvz_CAssestamentoDoc* pDoc = Apri(pSel, 0);
	ASSERT_NE(pDoc, nullptr);
	FormDriver form(pDoc);
	auto apri = [&](int riga) {
		EXPECT_TRUE(form.SelectRow(kRighe, riga));
		EXPECT_TRUE(form.Command("Dettaglio assestamento")) << form.GetLastError();
		return dynamic_cast<Kvz_DettAssestamentoDoc*>(pDoc->GetDocDettaglio());
	};

	// Lines 1, 2 and 5: the next is 6.
	Kvz_DettAssestamentoDoc* pDett = apri(1);
	ASSERT_NE(pDett, nullptr);
	EXPECT_FALSE(pDoc->GetMasterFrame()->IsWindowEnabled());
	{
		FormDriver dett(pDett);
		EXPECT_EQ(dett.Text("Dettaglio del mese:"), AfxGetMonthName(2));
		EXPECT_EQ(Colonna(dett, kLinee, "Importo2"), (std::vector<std::string>{"3.00", "2.00", "0.00"}));
		ASSERT_TRUE(dett.AddRow(kLinee));
		EXPECT_EQ(pDett->GetDBT()->GetLinea(3)->f_Riga, 6);
		ASSERT_TRUE(dett.TypeCell(kLinee, 3, "Descrizione2", "solo testo"));
		ASSERT_TRUE(dett.TypeCell(kLinee, 1, "Importo2", "4"));
		EXPECT_EQ(dett.Text("Assestamento:"), "7.00");
		EXPECT_EQ(dett.Text("Totale assestato:"), "107.00");
		ASSERT_TRUE(dett.Press("Aggio&rna"));
	}
	EXPECT_EQ(pDoc->GetDocDettaglio(), nullptr);
	EXPECT_TRUE(pDoc->GetMasterFrame()->IsWindowEnabled());
	EXPECT_EQ(form.Cell(kRighe, 1, "Assestamento"), "7.00");
	EXPECT_EQ(form.Cell(kRighe, 1, "PrAssest."), "12.00");
	// The blank line stays out, the one with only a description goes in.
	ASSERT_NE(pDoc->GetArrayDettaglio(2), nullptr);
	EXPECT_EQ(pDoc->GetArrayDettaglio(2)->GetSize(), 3);
	EXPECT_TRUE(pDoc->m_Modificato);

	// Opened again: the lines written back, not the table's. A deletion answered No on close
	// leaves the caller's lines whole.
	pDett = apri(1);
	ASSERT_NE(pDett, nullptr);
	{
		FormDriver dett(pDett);
		EXPECT_EQ(dett.RowCount(kLinee), 3);
		ASSERT_TRUE(dett.DeleteRow(kLinee, 0));
		EXPECT_EQ(dett.Text("Assestamento:"), "4.00");
		m_Ui.PushAnswer(IDNO);
		ASSERT_TRUE(dett.Close());
	}
	EXPECT_EQ(pDoc->GetArrayDettaglio(2)->GetSize(), 3);
	EXPECT_EQ(form.Cell(kRighe, 1, "Assestamento"), "7.00");

	// A month without lines starts from one holding its adjustment.
	pDett = apri(3);
	ASSERT_NE(pDett, nullptr);
	{
		FormDriver dett(pDett);
		EXPECT_EQ(Colonna(dett, kLinee, "Importo2"), std::vector<std::string>{"5.00"});
		// All deleted and confirmed: no adjustment, no detail.
		m_Ui.PushAnswer(IDYES);
		ASSERT_TRUE(dett.Press("&Cancella tutto"));
		EXPECT_EQ(m_Ui.Messages().back().type & MB_DEFMASK, static_cast<UINT>(MB_DEFBUTTON2));
		ASSERT_TRUE(dett.Press("Aggio&rna"));
	}
	EXPECT_EQ(form.Cell(kRighe, 3, "Assestamento"), "0.00");
	EXPECT_EQ(form.Cell(kRighe, 3, "Totale"), "100.00");
	EXPECT_EQ(form.Cell(kRighe, 3, "Dett"), "No");

	// Saved: the month's lines are replaced.
	ASSERT_TRUE(form.Press("&Salva"));
	EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_PianoBaseRDett WHERE IDPianoBase = 1 AND Mese = 2"), 3);
	EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_PianoBaseRDett WHERE Mese = 2 AND Riga = 6 AND Descrizione = 'solo testo'"), 1);
	EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_PianoBaseRDett WHERE Mese = 2 AND Riga = 5"), 0);
	EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_PianoBaseRDett WHERE Mese = 4"), 0);
	EXPECT_EQ(Ratei(1)[1], 7.0);

	// The detail opens only on an adjustments document.
	AfxGetApplicationContext()->ClearAssertionReports();
	EXPECT_EQ(Open<Kvz_DettAssestamentoDoc>("BDDettAssestamento"), nullptr);
	EXPECT_TRUE(AfxGetApplicationContext()->GetAssertionReports().empty());
	EXPECT_EQ(m_Manager.RunDocument(_T("KvzNet.KvzMod.KvzDocuments.BDDettAssestamento"), _T("Default"), nullptr, pSel),
			  nullptr);
	EXPECT_FALSE(AfxGetApplicationContext()->GetAssertionReports().empty());
}

TEST_F(Assestamento, TheSpreadDividesOnlyByWhatIsNotZero)
{
	const char* const kMesi = "Ripartizioni assestamento";
	Conto(2026, "4001");
	Piano(1, 2026, "4001", Dodici(100));
	Kvz_CAssestamentoDoc* pDoc = Apri(Selezione(), 0);
	ASSERT_NE(pDoc, nullptr);
	FormDriver form(pDoc);
	ASSERT_TRUE(form.Type("Importo totale", "1200"));
	auto apri = [&] {
		EXPECT_TRUE(form.Press("&Perc")) << form.GetLastError();
		return dynamic_cast<Kvz_RipAssestamentoDoc*>(pDoc->GetDocRipartizione());
	};
	auto percentuali = [](Kvz_RipAssestamentoDoc* pRip) {
		std::vector<double> v;
		for (int i = 0; i < pRip->GetDBT()->GetSize(); ++i)
			v.push_back(std::round(pRip->GetDBT()->GetMese(i)->f_Percentuale * 1000) / 1000);
		return v;
	};

	// Values 1 everywhere over the year: a twelfth each, 100 in all.
	Kvz_RipAssestamentoDoc* pRip = apri();
	ASSERT_NE(pRip, nullptr);
	{
		FormDriver rip(pRip);
		EXPECT_EQ(rip.RowCount(kMesi), 12);
		for (int i = 0; i < 12; ++i)
			ASSERT_TRUE(rip.TypeCell(kMesi, i, "Dati", "1"));
		ASSERT_TRUE(rip.Press("Calcola % e ratei"));
		EXPECT_EQ(percentuali(pRip), std::vector<double>(12, 8.333));
		EXPECT_NEAR(pRip->m_SommaPercentuali, 100.0, 1e-9);
		EXPECT_EQ(Colonna(rip, kMesi, "Rateo"), std::vector<std::string>(12, "100.00"));

		// +5 and -5 over the year, with a month of its own percentage: nothing is divided
		// by zero, each month keeps what it had.
		ASSERT_TRUE(rip.TypeCell(kMesi, 0, "Dati", "5"));
		ASSERT_TRUE(rip.TypeCell(kMesi, 3, "Dati", "-5"));
		for (int i : {1, 2, 4, 5, 6, 7, 8, 9, 10, 11})
			ASSERT_TRUE(rip.TypeCell(kMesi, i, "Dati", "0"));
		ASSERT_TRUE(rip.Press("Calcola % e ratei"));
		EXPECT_EQ(percentuali(pRip), std::vector<double>(12, 8.333));
		EXPECT_EQ(pRip->m_SommaPercentuali, 0.0);
		ASSERT_TRUE(rip.Press("Aggio&rna"));
	}
	EXPECT_EQ(Colonna(form, kRighe, "Totale"), std::vector<std::string>(12, "100.00"));
	ASSERT_NE(pDoc->GetArrayRipartizioni(1), nullptr);
	EXPECT_EQ(pDoc->GetArrayRipartizioni(1)->GetSize(), 12);

	// By quarter: a quarter of +5 and -5 keeps its months, a negative month keeps its own,
	// the others take their share of their quarter.
	ASSERT_TRUE(form.Press("Trimestrale"));
	for (const char* t : {"Trim. I", "Trim. II", "Trim. III", "Trim. IV"})
		ASSERT_TRUE(form.Type(t, "300"));
	pRip = apri();
	ASSERT_NE(pRip, nullptr);
	{
		FormDriver rip(pRip);
		// The spread written back the first time, not the table's.
		EXPECT_EQ(rip.Cell(kMesi, 0, "Dati"), "5.00");
		ASSERT_TRUE(rip.TypeCell(kMesi, 1, "Dati", "-5"));  // Q1: +5 -5
		ASSERT_TRUE(rip.TypeCell(kMesi, 3, "Dati", "3"));   // Q2: 3, 1, -1
		ASSERT_TRUE(rip.TypeCell(kMesi, 4, "Dati", "1"));
		ASSERT_TRUE(rip.TypeCell(kMesi, 5, "Dati", "-1"));
		ASSERT_TRUE(rip.Press("Calcola % e ratei"));
		EXPECT_EQ(percentuali(pRip),
				  (std::vector<double>{8.333, 8.333, 8.333, 100, 33.333, 8.333, 8.333, 8.333, 8.333, 8.333, 8.333, 8.333}));
		EXPECT_EQ(Colonna(rip, kMesi, "Rateo"),
				  (std::vector<std::string>{"100.00", "100.00", "100.00", "300.00", "100.00", "100.00", "100.00", "100.00",
											"100.00", "100.00", "100.00", "100.00"}));
		// A percentage typed in September takes the third quarter.
		ASSERT_TRUE(rip.TypeCell(kMesi, 8, "Perc", "50"));
		EXPECT_EQ(rip.Cell(kMesi, 8, "Rateo"), "150.00");
		// Closed with No: the caller keeps the spread confirmed before.
		m_Ui.PushAnswer(IDNO);
		ASSERT_TRUE(rip.Close());
	}
	EXPECT_EQ(pDoc->GetArrayRipartizioni(1)->GetAt(3)->f_Dati, -5.0);
	// Saved: every month of the account and year has its spread row.
	ASSERT_TRUE(form.Press("&Salva"));
	EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_RipartizioniAssestamento WHERE ContoKvz = '4001' AND Anno = 2026"), 12);
	EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_RipartizioniAssestamento WHERE Mese = 4 AND Dati = -5"), 1);
}

TEST_F(Assestamento, WithMonthsMissingTheSpreadAndTheDetailWriteBackByMonth)
{
	const char* const kMesi = "Ripartizioni assestamento";
	const char* const kLinee = "Dettaglio assestamento";
	Conto(2026, "4001");
	Piano(1, 2026, "4001", {{1, 100, 0}, {2, 200, 0}, {4, 400, 0}});
	Kvz_CAssestamentoDoc* pDoc = Apri(Selezione(), 0);
	ASSERT_NE(pDoc, nullptr);
	FormDriver form(pDoc);

	// The spread has twelve months; each reaches the row of its month, March none.
	ASSERT_TRUE(form.Type("Importo totale", "1200"));
	ASSERT_TRUE(form.Press("&Perc"));
	auto* pRip = dynamic_cast<Kvz_RipAssestamentoDoc*>(pDoc->GetDocRipartizione());
	ASSERT_NE(pRip, nullptr);
	{
		FormDriver rip(pRip);
		ASSERT_EQ(rip.RowCount(kMesi), 12);
		const char* const dati[] = {"1", "2", "3", "6"};
		for (int i = 0; i < 4; ++i)
			ASSERT_TRUE(rip.TypeCell(kMesi, i, "Dati", dati[i]));
		ASSERT_TRUE(rip.Press("Calcola % e ratei"));
		ASSERT_TRUE(rip.Press("Aggio&rna"));
	}
	EXPECT_EQ(Colonna(form, kRighe, "Totale"), (std::vector<std::string>{"100.00", "200.00", "600.00"}));
	EXPECT_EQ(Colonna(form, kRighe, "Assestamento"), (std::vector<std::string>{"0.00", "0.00", "200.00"}));

	auto dettaglio = [&](int riga, const char* importo) {
		ASSERT_TRUE(form.SelectRow(kRighe, riga));
		ASSERT_TRUE(form.Command("Dettaglio assestamento")) << form.GetLastError();
		auto* pDett = dynamic_cast<Kvz_DettAssestamentoDoc*>(pDoc->GetDocDettaglio());
		ASSERT_NE(pDett, nullptr);
		FormDriver dett(pDett);
		ASSERT_EQ(dett.RowCount(kLinee), 1);
		if (importo)
		{
			ASSERT_TRUE(dett.TypeCell(kLinee, 0, "Importo2", importo));
		}
		ASSERT_TRUE(dett.Press("Aggio&rna"));
	};
	// April's lines go to April, the third row.
	dettaglio(2, "9");
	EXPECT_EQ(Colonna(form, kRighe, "Assestamento"), (std::vector<std::string>{"0.00", "0.00", "9.00"}));
	EXPECT_EQ(Colonna(form, kRighe, "Dett"), (std::vector<std::string>{"No", "No", "Si"}));
	// February confirmed with only its blank starting line: no detail.
	dettaglio(1, nullptr);
	ASSERT_NE(pDoc->GetArrayDettaglio(2), nullptr);
	EXPECT_EQ(pDoc->GetArrayDettaglio(2)->GetSize(), 0);
	EXPECT_FALSE(pDoc->GetDBTRighe()->GetRigaMese(2)->l_ConDettaglio);
	EXPECT_EQ(form.Cell(kRighe, 1, "Dett"), "No");

	ASSERT_TRUE(form.Press("&Salva"));
	EXPECT_FALSE(pDoc->m_Modificato);
	EXPECT_EQ(Ratei(1), (std::vector<double>{0, 0, 9}));
	EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_PianoBaseRDett WHERE IDPianoBase = 1 AND Mese = 4"), 1);
	EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_PianoBaseRDett WHERE IDPianoBase = 1 AND Mese <> 4"), 0);
	EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_RipartizioniAssestamento WHERE Mese = 4 AND Dati = 6"), 1);
}

TEST_F(Assestamento, TheBudgetCommandShowsTheAccountsBudgetAndItsCloseReloadsTheColumn)
{
	Conto(2026, "4001");
	Piano(1, 2026, "4001", Dodici(100));
	Budget(5, 2026, "4001", 0, 90);
	Kvz_CAssestamentoDoc* pDoc = Apri(Selezione(), 0);
	ASSERT_NE(pDoc, nullptr);
	FormDriver form(pDoc);
	EXPECT_EQ(form.Text("ASS_BUDGET_MESE"), "90.00");
	ASSERT_TRUE(form.Command("Budget")) << form.GetLastError();
	Kvz_CBudgetDoc* pBudget = nullptr;
	for (CBaseDocument* p : m_Manager.GetOpenDocuments())
		if (auto* b = dynamic_cast<Kvz_CBudgetDoc*>(p))
			pBudget = b;
	ASSERT_NE(pBudget, nullptr);
	EXPECT_EQ(pBudget->GetTesta()->f_IDBudget, 5);
	EXPECT_FALSE(pDoc->GetMasterFrame()->IsWindowEnabled());
	// Changed meanwhile: the adjustments read it again when the budget closes.
	m_pConn->ExecuteSQL("UPDATE Kvz_BudgetR SET ImportoMese = 120 WHERE Mese = 1");
	ASSERT_TRUE(FormDriver(pBudget).Close());
	EXPECT_TRUE(pDoc->GetMasterFrame()->IsWindowEnabled());
	EXPECT_EQ(form.Text("ASS_BUDGET_MESE"), "120.00");
}

}  // namespace
