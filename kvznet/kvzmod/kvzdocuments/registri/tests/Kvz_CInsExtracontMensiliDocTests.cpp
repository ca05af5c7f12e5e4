// The monthly formulas of extra-accounting codes driven through their form: the range
// listing, the save of every row in one transaction, the question before reloading, and the
// refusals that keep formulas from landing in the wrong month or position.
#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagSimboli.h"
#include <tuple>

#include "kvznet/kvzmod/kvzdbl/Kvz_TCodExtracontabili.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodExtracontabiliTesta.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TContatoriCodici.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TContatoriDettaglio.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliCodiciExtracont.h"
#include "kvznet/kvzmod/kvzdocuments/registri/Kvz_CInsExtracontMensiliDoc.h"
#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_CSelezAssestamentoDoc.h"
#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_CSelezAssestamentoDoc.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/Kvz_DDescrizioniBrevi.h"
#include "kvznet/kvzmod/kvzdocuments/registri/Kvz_ViewContatoriDoc.h"
#include "kvznet/kvzmod/kvzdocuments/tests/KvzDocumentsFixture.h"
#include "platform/erp/erpsetup/CompanySetup.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvges/FormDriver.h"
#include "platform/plvoledb/driver/Driver.h"

namespace {
const char* const kGrid = "Codici extracontabili";

class InsExtracontMensili : public KvzDocumentsLibrary
{
protected:
	void SetUp() override
	{
		KvzDocumentsLibrary::SetUp();
		erp::SetupCompanyDatabase(*m_pConn);
		m_DataPrecedente = AfxGetApplicationDate();
		AfxSetApplicationDate(DataDate(1, 3, 2026));
		for (const char* c : {"A", "A1", "AZZZ", "B", "C"})
			Codice(2026, c);
		Codice(2025, "A");
		Mese(2026, "A", 3, "1", "10", "30");
		Mese(2026, "B", 3, "2", "20", "");
		Mese(2025, "A", 3, "9", "", "");
	}
	void TearDown() override
	{
		AfxSetApplicationDate(m_DataPrecedente);
		KvzDocumentsLibrary::TearDown();
	}
	DataDate m_DataPrecedente;

	void Codice(int anno, const char* codice)
	{
		Kvz_TCodExtracontabiliTesta rec;
		SqlTable t(&rec);
		t.Open(TRUE);
		t.AddNew();
		rec.f_Esercizio = anno;
		rec.f_CodExtracont = codice;
		rec.f_Descrizione = CString("Descr ") + codice;
		t.Update();
	}
	void Mese(int anno, const char* codice, int mese, const char* f0, const char* f1, const char* f3)
	{
		Kvz_TCodExtracontabili rec;
		SqlTable t(&rec);
		t.Open(TRUE);
		t.AddNew();
		rec.f_Esercizio = anno;
		rec.f_CodExtracont = codice;
		rec.f_Mese = mese;
		rec.f_Formula = f0;
		rec.f_Formula1 = f1;
		rec.f_Formula3 = f3;
		t.Update();
	}
	// "code month main|F1|F3" of every stored month row of 2026, by code and month.
	std::vector<std::string> Mesi()
	{
		std::vector<std::string> righe;
		auto st = m_pConn->Db().Prepare(
			"SELECT CodExtracont, Mese, Formula, Formula1, Formula3 FROM Kvz_CodExtracontabiliMesi "
			"WHERE Esercizio = 2026 ORDER BY CodExtracont, Mese");
		while (st->Step())
		{
			std::string riga;
			for (int i = 0; i < 5; ++i)
			{
				DataStr s;
				s.SetDataValue(st->Column(i));
				riga += (i == 0 ? "" : i == 1 ? " " : i == 2 ? " " : "|") + s.GetString().str();
			}
			righe.push_back(riga);
		}
		return righe;
	}
	FormDriver Apri()
	{
		auto* pDoc = Open<Kvz_CInsExtracontMensiliDoc>("BDInsExtracontMensili");
		EXPECT_NE(pDoc, nullptr);
		return FormDriver(pDoc);
	}
	static std::vector<std::string> Griglia(const FormDriver& form)
	{
		std::vector<std::string> righe;
		for (int i = 0; i < form.RowCount(kGrid); ++i)
			righe.push_back(
				(form.Cell(kGrid, i, "Codice extracontabile") + "=" + form.Cell(kGrid, i, "Formula")).str());
		return righe;
	}
	std::vector<CString> Mostrati() const
	{
		std::vector<CString> testi;
		for (auto& m : m_Ui.Messages())
			testi.push_back(m.text);
		return testi;
	}
	bool Mostrato(const char* testo) const
	{
		for (const CString& s : Mostrati())
			if (s.Find(testo) >= 0)
				return true;
		return false;
	}
};
}  // namespace

TEST_F(InsExtracontMensili, ListsTheYearsCodesInTheRangeWithTheMonthsFormula)
{
	FormDriver form = Apri();
	// Both bounds empty: every code of the year; a code without a March row shows nothing.
	EXPECT_EQ(Griglia(form), (std::vector<std::string>{"A=1", "A1=", "AZZZ=", "B=2", "C="}));
	EXPECT_FALSE(form.IsCellEditable(kGrid, 0, "Codice extracontabile"));
	EXPECT_FALSE(form.AddRow(kGrid));

	ASSERT_TRUE(form.Type("Dal codice", "a")) << form.GetLastError();
	EXPECT_EQ(form.Text("Al codice"), "AZZZ");
	ASSERT_TRUE(form.Press("Visualizza")) << form.GetLastError();
	EXPECT_EQ(Griglia(form), (std::vector<std::string>{"A=1", "A1=", "AZZZ="}));

	// Only the upper bound: from the empty code up to it.
	ASSERT_TRUE(form.Type("Dal codice", ""));
	ASSERT_TRUE(form.Type("Al codice", "A1"));
	ASSERT_TRUE(form.Press("Visualizza"));
	EXPECT_EQ(Griglia(form), (std::vector<std::string>{"A=1", "A1="}));

	// A further formula by its number; "<-" keeps the month.
	ASSERT_TRUE(form.Type("Al codice", ""));
	ASSERT_TRUE(form.Press("Formula numero:"));
	ASSERT_TRUE(form.Type("Numero formula", "3")) << form.GetLastError();
	ASSERT_TRUE(form.Press("Visualizza"));
	EXPECT_EQ(Griglia(form), (std::vector<std::string>{"A=30", "A1=", "AZZZ=", "B=", "C="}));
	ASSERT_TRUE(form.Press("<-"));
	EXPECT_EQ(form.Text("Anno"), "2025");
	EXPECT_EQ(form.Text("Mese"), "3");
	EXPECT_EQ(Griglia(form), (std::vector<std::string>{"A="}));
}

TEST_F(InsExtracontMensili, RefusesPositionsAndMonthsOutOfRange)
{
	FormDriver form = Apri();
	ASSERT_TRUE(form.Press("Formula numero:"));
	for (const char* numero : {"0", "11", "-1"})
	{
		ASSERT_TRUE(form.Type("Numero formula", numero));
		m_Ui.Clear();
		EXPECT_FALSE(form.Press("Visualizza"));
		EXPECT_EQ(form.GetLastError(), "Indicare il numero di colonna da utilizzare.") << numero;
		// Still the main formulas: nothing was read from another position.
		EXPECT_EQ(form.Cell(kGrid, 0, "Formula"), "1") << numero;
	}

	ASSERT_TRUE(form.Press("Formula principale"));
	ASSERT_TRUE(form.TypeCell(kGrid, 0, "Formula", "5")) << form.GetLastError();
	m_Ui.Clear();
	EXPECT_FALSE(form.Type("Mese", "13"));
	EXPECT_TRUE(Mostrato("Il mese indicato non e' valido."));
	// With the month still wrong the save and the reload are refused too, saying why.
	EXPECT_FALSE(form.Press("&Salva"));
	EXPECT_EQ(form.GetLastError(), "Il mese indicato non e' valido.");
	EXPECT_FALSE(form.Press("Visualizza"));
	// No month-13 rows, nothing reloaded, nothing lost.
	EXPECT_EQ(Mesi(), (std::vector<std::string>{"A 3 1|10|30", "B 3 2|20|"}));
	EXPECT_EQ(form.Cell(kGrid, 0, "Formula"), "5");
}

TEST_F(InsExtracontMensili, SavesEveryRowAtTheLoadedPositionCreatingMissingMonths)
{
	FormDriver form = Apri();
	ASSERT_TRUE(form.TypeCell(kGrid, 1, "Formula", "7")) << form.GetLastError();
	// Another position chosen after loading: the grid still holds the main formulas.
	ASSERT_TRUE(form.Press("Formula numero:"));
	ASSERT_TRUE(form.Type("Numero formula", "3"));
	ASSERT_TRUE(form.Press("&Salva"));
	EXPECT_EQ(Mesi(), (std::vector<std::string>{"A 3 1|10|30", "A1 3 7||", "AZZZ 3 ||", "B 3 2|20|", "C 3 ||"}));
	EXPECT_FALSE(static_cast<Kvz_CInsExtracontMensiliDoc*>(form.GetDocument())->m_bContatoriModificati);

	// A save whose transaction fails writes nothing and fails the user's action.
	ASSERT_TRUE(form.TypeCell(kGrid, 1, "Formula", "8")) << form.GetLastError();
	m_pConn->Db().Execute("ALTER TABLE Kvz_CodExtracontabiliMesi RENAME TO Kvz_Altrove");
	m_Ui.Clear();
	EXPECT_FALSE(form.Press("&Salva"));
	EXPECT_TRUE(Mostrato("Formule non salvate: nessuna modifica registrata."));
	m_pConn->Db().Execute("ALTER TABLE Kvz_Altrove RENAME TO Kvz_CodExtracontabiliMesi");
	EXPECT_EQ(Mesi(), (std::vector<std::string>{"A 3 1|10|30", "A1 3 7||", "AZZZ 3 ||", "B 3 2|20|", "C 3 ||"}));
}

TEST_F(InsExtracontMensili, AsksBeforeReloadingOverChanges)
{
	FormDriver form = Apri();
	// Cancel: the typed year goes back and the grid stays.
	ASSERT_TRUE(form.TypeCell(kGrid, 0, "Formula", "5"));
	FormDriver::Answer(IDCANCEL);
	ASSERT_TRUE(form.Type("Anno", "2025"));
	EXPECT_EQ(form.Text("Anno"), "2026");
	EXPECT_EQ(form.Cell(kGrid, 0, "Formula"), "5");
	EXPECT_TRUE(Mostrato("Modifiche non ancora salvate. Le salvo?"));

	// No: reloaded, the typed formula dropped.
	FormDriver::Answer(IDNO);
	ASSERT_TRUE(form.Press("Visualizza"));
	EXPECT_EQ(form.Cell(kGrid, 0, "Formula"), "1");
	EXPECT_EQ(Mesi().size(), 2u);

	// Yes on a month change: saved under the month it was loaded for.
	ASSERT_TRUE(form.TypeCell(kGrid, 0, "Formula", "6"));
	FormDriver::Answer(IDYES);
	ASSERT_TRUE(form.Type("Mese", "4"));
	EXPECT_EQ(Mesi()[0], "A 3 6|10|30");
	EXPECT_EQ(Griglia(form), (std::vector<std::string>{"A=", "A1=", "AZZZ=", "B=", "C="}));
}

namespace {
const char* const kGenerali = "Contatori generali";
const char* const kDettaglio = "Contatori dettaglio";

class ViewContatori : public InsExtracontMensili
{
protected:
	// An extra-accounting symbol that the formulas of code `dove` may use, over code `su`.
	void Simbolo(const char* dove, const char* nome, const char* su)
	{
		Kvz_TAnagSimboli a;
		SqlTable ta(&a);
		ta.Open(TRUE);
		ta.AddNew();
		a.f_Esercizio = 2026;
		a.f_ModelloRiclassific = dove;
		a.f_NomeSimbolo = nome;
		a.f_TipoSimbolo = DataEnum(E_KVZ_TIPOSIMBOLO, KVZ_CONTATORE_EXTRACONT);
		ta.Update();
		Kvz_TSimboliCodiciExtracont s;
		SqlTable ts(&s);
		ts.Open(TRUE);
		ts.AddNew();
		s.f_Esercizio = 2026;
		s.f_ModelloRiclassific = dove;
		s.f_NomeSimbolo = nome;
		s.f_ValoreEsSymb = TRUE;
		s.f_ValoreMeseSymb = TRUE;
		s.f_ValoreCodice = su;
		ts.Update();
	}
	Kvz_ViewContatoriDoc* Vista()
	{
		for (CBaseDocument* p : m_Manager.GetOpenDocuments())
			if (auto* v = dynamic_cast<Kvz_ViewContatoriDoc*>(p))
				return v;
		return nullptr;
	}
};
}  // namespace

TEST_F(ViewContatori, OpenedFromTheMonthlyFormulasAfterSavingWithoutAQuestion)
{
	// The counters are the ones the save writes: B and C use A in their March formulas.
	Simbolo("B", "XA", "A");
	Simbolo("C", "XA", "A");
	FormDriver form = Apri();
	ASSERT_TRUE(form.TypeCell(kGrid, 3, "Formula", "_XA*2")) << form.GetLastError();
	ASSERT_TRUE(form.TypeCell(kGrid, 4, "Formula", "_XA+1")) << form.GetLastError();
	m_Ui.Clear();
	ASSERT_TRUE(form.Press("Contatori")) << form.GetLastError();
	EXPECT_FALSE(Mostrato("Modifiche non ancora salvate. Le salvo?"));
	EXPECT_EQ(Mesi().size(), 5u);

	Kvz_ViewContatoriDoc* pVista = Vista();
	ASSERT_NE(pVista, nullptr);
	EXPECT_FALSE(form.GetDocument()->GetMasterFrame()->IsWindowEnabled());
	FormDriver vista(pVista);
	EXPECT_EQ(vista.Text("Codici extracontabili"), "Si");
	EXPECT_EQ(vista.Text("Conti raggruppati"), "No");
	EXPECT_FALSE(vista.IsEditable("Da"));
	EXPECT_EQ(vista.Text("Totale utilizzi nell'esercizio:"), "2026");
	ASSERT_EQ(vista.RowCount(kGenerali), 5);
	EXPECT_EQ(vista.Cell(kGenerali, 0, "Codice"), "A");
	EXPECT_EQ(vista.Cell(kGenerali, 0, "Contatore"), "2");
	ASSERT_EQ(vista.RowCount(kDettaglio), 2);
	EXPECT_EQ(vista.Cell(kDettaglio, 0, "Codice"), "MESE3");
	EXPECT_EQ(vista.Cell(kDettaglio, 0, "Formula"), "_XA*2");
	EXPECT_EQ(vista.Cell(kDettaglio, 1, "Formula"), "_XA+1");

	// A use whose month row is gone shows no formula, nothing stale.
	m_pConn->Db().Execute("DELETE FROM Kvz_CodExtracontabiliMesi WHERE CodExtracont = 'C'");
	ASSERT_TRUE(vista.Press("&Estrai"));
	ASSERT_EQ(vista.RowCount(kDettaglio), 2);
	EXPECT_EQ(vista.Cell(kDettaglio, 0, "Formula"), "_XA*2");
	EXPECT_EQ(vista.Cell(kDettaglio, 1, "Formula"), "");

	// A counter of 0 reads no detail.
	const int nQuery = pVista->GetQueryDettaglio();
	ASSERT_TRUE(vista.SelectRow(kGenerali, 3));
	EXPECT_EQ(vista.RowCount(kDettaglio), 0);
	EXPECT_EQ(pVista->GetQueryDettaglio(), nQuery);

	// "Da" goes into "A" once the range is chosen.
	ASSERT_TRUE(vista.Press("VWCONT_TUTTI_EXTRA")) << vista.GetLastError();
	ASSERT_TRUE(vista.Type("Da", "B")) << vista.GetLastError();
	EXPECT_EQ(vista.Text("A"), "B");
	ASSERT_TRUE(vista.Press("&Estrai"));
	EXPECT_EQ(vista.RowCount(kGenerali), 1);

	ASSERT_TRUE(vista.Close());
	EXPECT_TRUE(form.GetDocument()->GetMasterFrame()->IsWindowEnabled());
}

TEST_F(ViewContatori, FromTheAdjustmentSelectionTakesItsYear)
{
	auto* pSel = Open<Kvz_CSelezAssestamentoDoc>("BDSelezAssestamento");
	ASSERT_NE(pSel, nullptr);
	pSel->m_Anno = 2025;  // the application date is in 2026
	ASSERT_NE(Kvz_ApriContatori(pSel), nullptr);
	ASSERT_NE(Vista(), nullptr);
	FormDriver vista(Vista());
	EXPECT_EQ(vista.Text("Totale utilizzi nell'esercizio:"), "2025");
	EXPECT_EQ(vista.Text("Codici riclassificato"), "Si");
}

// From the adjustment selection: the reclassified codes of the application date's year, of every
// model, each with its counter.
TEST_F(ViewContatori, OpenedFromTheAdjustmentSelectionOnTheYearsReclassifiedCodes)
{
	for (const auto& [anno, modello, codice] :
		 {std::tuple{2026, "M1", "VP"}, std::tuple{2026, "M2", "CE"}, std::tuple{2025, "M1", "VECCHIO"}})
	{
		Kvz_TRiclassificazioneRighe rec;
		SqlTable t(&rec);
		t.Open(TRUE);
		t.AddNew();
		rec.f_Esercizio = anno;
		rec.f_ModelloRiclassific = modello;
		rec.f_CodRiclassificato = codice;
		t.Update();
	}
	{
		Kvz_TContatoriCodici rec;
		SqlTable t(&rec);
		t.Open(TRUE);
		t.AddNew();
		rec.f_Esercizio = 2026;
		rec.f_TipoCodice = DataEnum(E_KVZ_TIPOSIMBOLO, KVZ_CONTATORE_RICLASSIFICATO);
		rec.f_Codice = "VP";
		rec.f_ContatoreUtilizzi = DataLng(3);
		t.Update();
	}
	auto* pSelezione = Open<Kvz_CSelezAssestamentoDoc>("BDSelezAssestamento");
	ASSERT_NE(pSelezione, nullptr);
	ASSERT_NE(Kvz_ApriContatori(pSelezione), nullptr);
	Kvz_ViewContatoriDoc* pVista = Vista();
	ASSERT_NE(pVista, nullptr);
	FormDriver vista(pVista);
	EXPECT_EQ(vista.Text("Codici riclassificato") + vista.Text("Codici extracontabili"), "SiNo");
	EXPECT_EQ(vista.Text("Totale utilizzi nell'esercizio:"), "2026");
	ASSERT_EQ(vista.RowCount(kGenerali), 2);
	EXPECT_EQ(vista.Cell(kGenerali, 0, "Codice") + "=" + vista.Cell(kGenerali, 0, "Contatore") + " " +
				  vista.Cell(kGenerali, 1, "Codice") + "=" + vista.Cell(kGenerali, 1, "Contatore"),
			  "CE=0 VP=3");
	ASSERT_TRUE(vista.Close());
	EXPECT_TRUE(pSelezione->GetMasterFrame()->IsWindowEnabled());
}

TEST_F(ViewContatori, OpensOnlyForItsCallers)
{
	EXPECT_EQ(m_Manager.RunDocument(_T("KvzNet.KvzMod.KvzDocuments.BDViewContatori")), nullptr);
	auto* pAltro = Open<Kvz_DDescrizioniBrevi>("DDescrizioniBrevi");
	ASSERT_NE(pAltro, nullptr);
	EXPECT_EQ(Kvz_ApriContatori(pAltro), nullptr);
	EXPECT_EQ(Vista(), nullptr);
	EXPECT_TRUE(pAltro->GetMasterFrame()->IsWindowEnabled());
}
