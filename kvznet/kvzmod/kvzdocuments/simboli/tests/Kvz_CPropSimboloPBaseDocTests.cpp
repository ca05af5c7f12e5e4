// The base-plan symbol document driven through its form: the kind dialog and the document each
// kind opens, the account list with its type, range and level filters, the grouping-level
// check, the company tab and another company's accounts, the cost-centre/job lists and their
// pair lists, and the form's choices kept between uses.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/erp/erpsetup/CompanySetup.h"
#include "kvznet/kvzmod/kvzdbl/KvzNetSettings.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TAziende.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCentriCommesseContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TParametri.h"
#include "kvznet/kvzmod/kvzdocuments/simboli/Kvz_CPropSimboloExtraCDoc.h"
#include "kvznet/kvzmod/kvzdocuments/simboli/Kvz_CPropSimboloOutRiclassDoc.h"
#include "kvznet/kvzmod/kvzdocuments/simboli/Kvz_CPropSimboloPBaseDoc.h"
#include "kvznet/kvzmod/kvzdocuments/simboli/Kvz_CPropSimboloRiclassDoc.h"
#include "kvznet/kvzmod/kvzdocuments/simboli/Kvz_FiltriCommesseDoc.h"
#include "kvznet/kvzmod/kvzdocuments/tests/KvzDocumentsFixture.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvges/FormDriver.h"

namespace {

const char* const kConti = "Conti";
const char* const kCdcComm = "Commesse/Centri di costo2";

class PropSimboloPBase : public KvzDocumentsLibrary
{
protected:
	void SetUp() override
	{
		KvzDocumentsLibrary::SetUp();
		erp::SetupCompanyDatabase(*m_pConn);
		AfxSetApplicationDate(DataDate(15, 3, 2026));
		// Ledger 2 characters, then segments of 2 and 3: 30, 3001, 3001001.
		Kvz_TParametri par;
		par.f_IDParam = 1;
		par.f_LenMastro = 2;
		par.f_LenSeg1 = 2;
		par.f_LenSeg2 = 3;
		Inserisci(par);
		for (int anno : {2025, 2026})
		{
			Conto(anno, "30", "Ricavi", 0, "");
			Conto(anno, "3001", "Ricavi vendite", 0, "30");
			Conto(anno, "3001001", "Vendite Italia", 0, "3001");
			Conto(anno, "3001002", "Vendite estero", 0, "3001");
			Conto(anno, "05", "Crediti", 1, "");
			Conto(anno, "0501", "Clienti", 1, "05");
			Conto(anno, "0501001", "Cliente uno", 1, "0501");
		}
		Split(2026, "3001001", "PRD", "Produzione", 0);
		Split(2026, "3001001", "J01", "Commessa uno", 1);
		Split(2025, "3001001", "VEC", "Centro 2025", 0);
	}

	void Conto(int anno, const char* conto, const char* descrizione, WORD tipo, const char* padre,
			   SqlConnection* pConn = nullptr, BOOL bUltimo = FALSE)
	{
		Kvz_TAnagContiKvz c;
		c.f_Esercizio = anno;
		c.f_ContoKvz = conto;
		c.f_Descrizione = descrizione;
		c.f_TipoConto = DataEnum(E_TIPOCONTO, tipo);
		c.f_ContoKvzPadre = padre;
		c.f_UltimoLivelloRaggrupp = bUltimo;
		Inserisci(c, pConn);
	}
	void Split(int anno, const char* conto, const char* codice, const char* descrizione, WORD tipo)
	{
		Kvz_TCentriCommesseContiKvz c;
		c.f_Esercizio = anno;
		c.f_ContoKvz = conto;
		c.f_CentroCommessa = codice;
		c.f_Descrizione = descrizione;
		c.f_Tipo = DataEnum(E_KVZ_TIPOCENTROCOMM, tipo);
		Inserisci(c);
	}

	Kvz_CPropSimboloPBaseDoc* Apri()
	{
		auto* pDoc = Open<Kvz_CPropSimboloPBaseDoc>("BDPropSimboloPBase");
		EXPECT_NE(pDoc, nullptr);
		return pDoc;
	}

	static std::vector<std::string> Codici(FormDriver& form, const char* grid, const char* colonna = "Codice")
	{
		std::vector<std::string> codici;
		for (int i = 0; i < form.RowCount(grid); ++i)
			codici.push_back(form.Cell(grid, i, colonna).str());
		return codici;
	}

	std::vector<std::string> Messaggi()
	{
		std::vector<std::string> testi;
		for (auto& m : m_Ui.Messages())
			testi.push_back(m.text.str());
		return testi;
	}
};

using Codes = std::vector<std::string>;

TEST_F(PropSimboloPBase, TheKindChosenOpensItsDocument)
{
	struct Caso
	{
		const char* option;  // null: OK with nothing chosen
		WORD prima;
		WORD dopo;
		CRuntimeClass* pClasse;
	};
	const Caso casi[] = {
		{"Valore calcolato dal piano base", KVZ_SIMBOLO_EXTRACONT, KVZ_SIMBOLO_PBASE,
		 Kvz_CPropSimboloPBaseDoc::GetThisClass()},
		{"Formula da un codice extracontabile", KVZ_SIMBOLO_PBASE, KVZ_SIMBOLO_EXTRACONT,
		 Kvz_CPropSimboloExtraCDoc::GetThisClass()},
		{"Formula da un codice riclassificato", KVZ_SIMBOLO_PBASE, KVZ_SIMBOLO_RICLASS,
		 Kvz_CPropSimboloRiclassDoc::GetThisClass()},
		// A result symbol has no option: it is kept, and its own document opens.
		{nullptr, KVZ_SIMBOLO_OUTRICLASS, KVZ_SIMBOLO_OUTRICLASS, Kvz_CPropSimboloOutRiclassDoc::GetThisClass()},
	};
	for (const Caso& c : casi)
	{
		SCOPED_TRACE(c.dopo);
		DataEnum tipo(E_KVZ_TIPOSIMBOLO, c.prima);
		bool bNessunoPrescelto = false;
		FormDriver::AnswerDialog([&](FormDriver& dlg) {
			bNessunoPrescelto = dlg.Text("Valore calcolato dal piano base") == "No" &&
								dlg.Text("Formula da un codice extracontabile") == "No" &&
								dlg.Text("Formula da un codice riclassificato") == "No";
			if (c.option)
			{
				EXPECT_TRUE(dlg.Press(c.option)) << dlg.GetLastError();
			}
			return IDOK;
		});
		Kvz_SceltaTipoSimboloDlg dlg(nullptr, &tipo);
		EXPECT_EQ(dlg.DoModal(), IDOK);
		EXPECT_EQ(dlg.GetTitle(), "Scelta tipo simbolo da definire");
		EXPECT_EQ(bNessunoPrescelto, c.prima == KVZ_SIMBOLO_OUTRICLASS);
		EXPECT_EQ(tipo.GetValue(), DataEnum(E_KVZ_TIPOSIMBOLO, c.dopo).GetValue());
		CBaseDocument* pDoc = Kvz_CPropSimboloDoc::ApriDocumento(tipo, nullptr);
		ASSERT_NE(pDoc, nullptr);
		EXPECT_STREQ(pDoc->GetRuntimeClass()->m_lpszClassName, c.pClasse->m_lpszClassName);
		pDoc->CloseDocument(FALSE);
	}
	EXPECT_EQ(Kvz_CPropSimboloDoc::ApriDocumento(DataEnum(E_KVZ_TIPOSIMBOLO, 2), nullptr), nullptr);
}

TEST_F(PropSimboloPBase, OpensForANewSymbolOfTheYearWithItsAccountList)
{
	auto* pDoc = Apri();
	ASSERT_NE(pDoc, nullptr);
	FormDriver form(pDoc);
	EXPECT_EQ(pDoc->GetFormTitle(), "Definizione valore da piano base");
	EXPECT_EQ(form.Text("PB_SYMB_ESERCIZIO_VIS"), "2026");
	EXPECT_EQ(form.Text("PB_SYMB_CONTO"), "Si");
	EXPECT_EQ(form.Text("SEL_AZ_CORRENTE"), "Si");
	EXPECT_FALSE(form.IsEditable("SEL_AZ_COD_AZIENDA"));
	// Only the accounts tab is open to the user while selecting by accounts.
	EXPECT_TRUE(pDoc->m_pTabber->GetDialog(0)->IsTabEnabled());
	EXPECT_FALSE(pDoc->m_pTabber->GetDialog(1)->IsTabEnabled());
	EXPECT_EQ(Codici(form, kConti), (Codes{"05", "0501", "0501001", "30", "3001", "3001001", "3001002"}));
	// The current row is the first; its cost centres and jobs follow it.
	EXPECT_EQ(form.CurrentRow(kConti), 0);
	EXPECT_TRUE(form.SelectRow(kConti, 5)) << form.GetLastError();
	EXPECT_EQ(Codici(form, kCdcComm), (Codes{"J01", "PRD"}));
	EXPECT_EQ(form.Cell(kCdcComm, 0, "Tipo"), "Commessa");
	// Not ticked: its cost centres and jobs cannot be ticked either.
	EXPECT_FALSE(form.IsCellEditable(kCdcComm, 0, "S"));
	// Confirmed, the form closes.
	ASSERT_TRUE(form.Type("PB_SYMB_NOME_SIMBOLO", "vendite")) << form.GetLastError();
	EXPECT_EQ(form.Text("PB_SYMB_NOME_SIMBOLO"), "VENDITE");
	ASSERT_TRUE(form.TypeCell(kConti, 5, "S", "Si")) << form.GetLastError();
	ASSERT_TRUE(form.Press("OK")) << form.GetLastError();
	EXPECT_FALSE(form.IsOpen());
}

TEST_F(PropSimboloPBase, TheAccountListFollowsTypeRangeAndLevelFilters)
{
	struct Caso
	{
		std::vector<const char*> press;
		const char* da;
		const char* a;
		Codes attesi;
	};
	const Caso casi[] = {
		{{}, "", "", {"05", "0501", "0501001", "30", "3001", "3001001", "3001002"}},
		{{"PB_SYMB_MASTRO"}, "", "", {"05", "30"}},
		{{"PB_SYMB_SEL_SEG1"}, "", "", {"0501", "3001"}},
		{{"PB_SYMB_SEL_SEG2"}, "", "", {"0501001", "3001001", "3001002"}},
		{{"PB_SYMB_MASTRO", "PB_SYMB_SEL_SEG2"}, "", "", {"05", "0501001", "30", "3001001", "3001002"}},
		// Segment 3 has no length: the ledger and both segments add up to 7 again.
		{{"PB_SYMB_SEL_SEG7"}, "", "", {"0501001", "3001001", "3001002"}},
		{{"PB_SYMB_ECONOM"}, "", "", {"30", "3001", "3001001", "3001002"}},
		{{"PB_SYMB_PATRIM", "PB_SYMB_SEL_SEG1"}, "", "", {"0501"}},
		{{"PB_SYMB_TUTTI"}, "3001", "3001002", {"3001", "3001001", "3001002"}},
		// One end alone does not restrict.
		{{}, "3001", "", {"05", "0501", "0501001", "30", "3001", "3001001", "3001002"}},
	};
	for (const Caso& c : casi)
	{
		SCOPED_TRACE(testing::PrintToString(c.attesi));
		auto* pDoc = Apri();
		ASSERT_NE(pDoc, nullptr);
		FormDriver form(pDoc);
		for (const char* p : c.press)
			ASSERT_TRUE(form.Press(p)) << p << ": " << form.GetLastError();
		ASSERT_TRUE(form.Type("PB_SYMB_CONTO_DA", c.da)) << form.GetLastError();
		pDoc->m_ValAConto = c.a;
		pDoc->RiempiListBoxConti();
		EXPECT_EQ(Codici(form, kConti), c.attesi) << m_Ui.LastMessage();
		pDoc->CloseDocument(FALSE);
		// The choices stay between uses; a new case starts from none.
		CKvzNetSettings s;
		s.SetPropSimboloPBaseSelMastri(FALSE, TRUE);
		s.SetPropSimboloPBaseSelSeg1(FALSE, TRUE);
		s.SetPropSimboloPBaseSelSeg2(FALSE, TRUE);
		s.SetPropSimboloPBaseSelSeg7(FALSE, TRUE);
		s.SetPropSimboloPBaseEconomici(FALSE, TRUE);
		s.SetPropSimboloPBasePatrimoniali(FALSE, TRUE);
		s.SetPropSimboloPBaseTuttiConti(FALSE, TRUE);
	}
}

TEST_F(PropSimboloPBase, TheFormsChoicesAreKeptBetweenUses)
{
	auto* pDoc = Apri();
	ASSERT_NE(pDoc, nullptr);
	{
		FormDriver form(pDoc);
		for (const char* p : {"PB_SYMB_SEL_SEG3", "PB_SYMB_SEL_SEG5", "PB_SYMB_SEL_SEG7", "PB_SYMB_PATRIM"})
			ASSERT_TRUE(form.Press(p)) << p;
		pDoc->m_Commesse = TRUE;
		pDoc->m_CdcCommDa = "A";
		pDoc->CloseDocument(FALSE);
	}
	pDoc = Apri();
	ASSERT_NE(pDoc, nullptr);
	FormDriver form(pDoc);
	for (int k = 1; k <= 7; ++k)
		EXPECT_EQ(pDoc->SelSeg(k) == TRUE, k == 3 || k == 5 || k == 7) << k;
	EXPECT_EQ(form.Text("PB_SYMB_PATRIM"), "Si");
	EXPECT_EQ(pDoc->m_Commesse == TRUE, true);
	EXPECT_EQ(pDoc->m_CdcCommDa.GetString(), "A");
	// No cost-centre/job choice at closing leaves the stored one as it was.
	pDoc->m_Commesse = FALSE;
	pDoc->CloseDocument(FALSE);
	EXPECT_EQ(CKvzNetSettings().GetPropSimboloPBaseFiltroCdcComm().GetString(), "M");
}

TEST_F(PropSimboloPBase, AnAccountUnderTheLastGroupingLevelCannotBeTicked)
{
	// 3001 is the last grouping level: its sub-accounts cannot be chosen one by one.
	m_pConn->ExecuteSQL("UPDATE Kvz_AnagConti SET UltimoLivelloRaggrupp = 1 WHERE ContoKvz = '3001'");
	auto* pDoc = Apri();
	ASSERT_NE(pDoc, nullptr);
	FormDriver form(pDoc);
	ASSERT_TRUE(form.TypeCell(kConti, 5, "S", "Si")) << form.GetLastError();
	EXPECT_EQ(form.Cell(kConti, 5, "S"), "No");
	EXPECT_EQ(m_Ui.LastMessage(), "Il conto selezionato è successivo al livello di raggruppamento.");
	EXPECT_EQ(pDoc->m_nSelezionati.GetValue(), 0);
	// Its own parent is not: 3001 itself is ticked, counted once.
	ASSERT_TRUE(form.TypeCell(kConti, 4, "S", "Si")) << form.GetLastError();
	EXPECT_EQ(form.Cell(kConti, 4, "S"), "Si");
	EXPECT_EQ(form.Cell(kConti, 4, "C.r."), "1");
	EXPECT_EQ(pDoc->m_nSelezionati.GetValue(), 1);
	pDoc->CloseDocument(FALSE);
}

TEST_F(PropSimboloPBase, AParentChainThatComesBackOnItselfEndsWithAMessage)
{
	Conto(2026, "X1", "Primo", 0, "X2");
	Conto(2026, "X2", "Secondo", 0, "X3");
	Conto(2026, "X3", "Terzo", 0, "X1");
	auto* pDoc = Apri();
	ASSERT_NE(pDoc, nullptr);
	m_Ui.Clear();
	EXPECT_TRUE(pDoc->ControllaLivelloConto(DataStr("X2")));
	ASSERT_EQ(Messaggi().size(), 1u);
	EXPECT_NE(Messaggi()[0].find("X2 ricorre tra i propri conti padre"), std::string::npos) << Messaggi()[0];
	// A chain that reaches a last level before coming back still refuses.
	m_pConn->ExecuteSQL("UPDATE Kvz_AnagConti SET UltimoLivelloRaggrupp = 1 WHERE ContoKvz = 'X1'");
	EXPECT_FALSE(pDoc->ControllaLivelloConto(DataStr("X2")));
	// Missing accounts end the chain.
	EXPECT_TRUE(pDoc->ControllaLivelloConto(DataStr("NESSUNO")));
	pDoc->CloseDocument(FALSE);
}

TEST_F(PropSimboloPBase, TheListsReadTheSymbolsYearNotTheApplicationDates)
{
	auto* pDoc = Apri();
	ASSERT_NE(pDoc, nullptr);
	FormDriver form(pDoc);
	EXPECT_EQ(pDoc->m_pHKLContoDa->GetSelEsercizio().GetValue(), 2026);
	// A symbol of 2025 opened while the application date is in 2026.
	pDoc->m_Esercizio = 2025;
	pDoc->RiempiListBoxConti();
	ASSERT_TRUE(form.SelectRow(kConti, 5));
	EXPECT_EQ(Codici(form, kCdcComm), (Codes{"VEC"}));
	EXPECT_EQ(form.Cell(kConti, 5, "Codice"), "3001001");
	pDoc->CloseDocument(FALSE);
}

TEST_F(PropSimboloPBase, TickingAnAccountLetsItsCostCentresBeTickedIntoThePairList)
{
	auto* pDoc = Apri();
	ASSERT_NE(pDoc, nullptr);
	FormDriver form(pDoc);
	ASSERT_TRUE(form.SelectRow(kConti, 5));
	ASSERT_TRUE(form.TypeCell(kConti, 5, "S", "Si")) << form.GetLastError();
	ASSERT_TRUE(form.IsCellEditable(kCdcComm, 1, "S"));
	// Select all ticks both, once; deselecting all twice never goes below zero.
	ASSERT_TRUE(form.Press("Sel.tutto centri/commesse")) << form.GetLastError();
	ASSERT_EQ(pDoc->m_ContiCdcComm.GetSize(), 2);
	EXPECT_NE(pDoc->m_ContiCdcComm.Cerca(DataStr("3001001"), DataEnum(E_KVZ_TIPOCENTROCOMM, 1), DataStr("J01")), nullptr);
	EXPECT_EQ(form.Cell(kCdcComm, 0, "C.r."), "1");
	EXPECT_EQ(pDoc->m_nSelezionati.GetValue(), 3);
	ASSERT_TRUE(form.Press("Desel.tutto centri/commesse"));
	ASSERT_TRUE(form.Press("Desel.tutto centri/commesse"));
	EXPECT_EQ(pDoc->m_ContiCdcComm.GetSize(), 0);
	EXPECT_EQ(form.Cell(kCdcComm, 0, "C.r."), "0");
	EXPECT_EQ(pDoc->m_nSelezionati.GetValue(), 1);
	// Unticking the account takes its pairs out and locks its cost centres.
	ASSERT_TRUE(form.Press("Sel.tutto centri/commesse"));
	ASSERT_TRUE(form.TypeCell(kConti, 5, "S", "No")) << form.GetLastError();
	EXPECT_EQ(pDoc->m_ContiCdcComm.GetSize(), 0);
	EXPECT_EQ(form.Cell(kCdcComm, 0, "S"), "No");
	EXPECT_FALSE(form.IsCellEditable(kCdcComm, 0, "S"));
	pDoc->CloseDocument(FALSE);
}

TEST_F(PropSimboloPBase, LoadingFromTheHostsTablesAddsEachCostCentreAndJobOnce)
{
	auto* pDoc = Apri();
	ASSERT_NE(pDoc, nullptr);
	FormDriver form(pDoc);
	// No account row: nothing to load for.
	pDoc->m_pDBTSelConti->RemoveAll(TRUE);
	ASSERT_TRUE(form.Press("Carica da tabelle"));
	EXPECT_EQ(m_Ui.LastMessage(), "Occorre selezionare un conto.");
	pDoc->RiempiListBoxConti();
	ASSERT_TRUE(form.SelectRow(kConti, 5));
	m_pConn->ExecuteSQL("INSERT INTO Erp_Jobs (Job, Description) VALUES ('J01', 'Commessa uno'), ('J02', 'Commessa due')");
	m_pConn->ExecuteSQL("INSERT INTO Erp_CostCenters (CostCenter, Description) VALUES ('PRD', 'Produzione')");
	ASSERT_TRUE(form.Press("Carica da tabelle"));
	const Codes attesi{"J01", "PRD", "J02"};
	EXPECT_EQ(Codici(form, kCdcComm), attesi);
	ASSERT_TRUE(form.Press("Carica da tabelle"));
	EXPECT_EQ(Codici(form, kCdcComm), attesi);
	pDoc->CloseDocument(FALSE);
}

TEST_F(PropSimboloPBase, TheCompanyTabReadsAnotherCompanysAccountsThroughItsConnection)
{
	// Another company: its own chart of accounts.
	const std::string altra = (m_Folder / "altra.db").string();
	m_pConn->ExecuteSQL(CString::Formatted("VACUUM INTO '%s'", altra.c_str()));
	{
		auto pAltra = SqlConnection::Open(CString(altra), SqlConnection::OPEN_EXISTING);
		pAltra->ExecuteSQL("DELETE FROM Kvz_AnagConti");
		Conto(2026, "7001", "Ricavi altrove", 0, "", pAltra.get());
	}
	for (auto [codice, file, descrizione] : {std::tuple{"02", "altra", "Altra S.p.A."}, std::tuple{"SE", "azienda", "Questa"},
											 std::tuple{"RO", "manca", "Rotta"}})
	{
		Kvz_TAziende a;
		a.f_Azienda = codice;
		a.f_DataSource = file;
		a.f_Descrizione = descrizione;
		Inserisci(a);
	}
	auto* pDoc = Apri();
	ASSERT_NE(pDoc, nullptr);
	FormDriver form(pDoc);
	pDoc->m_OldNomeSimbolo = "UTILE";
	ASSERT_TRUE(form.Press("SEL_AZ_ESTERNA")) << form.GetLastError();
	EXPECT_TRUE(form.IsEditable("SEL_AZ_COD_AZIENDA"));
	EXPECT_EQ(form.RowCount(kConti), 0);
	ASSERT_TRUE(form.Type("SEL_AZ_COD_AZIENDA", "02")) << form.GetLastError();
	EXPECT_EQ(form.Text("SEL_AZ_DESCRIZIONE"), "Altra S.p.A.");
	EXPECT_EQ(form.Text("PB_SYMB_NOME_SIMBOLO"), "UTILE02");
	pDoc->RiempiListBoxConti();
	EXPECT_EQ(Codici(form, kConti), (Codes{"7001"}));
	EXPECT_NE(pDoc->m_pConnEsterna, nullptr);

	// This company named in the register: its own connection, its own accounts.
	ASSERT_TRUE(form.Type("SEL_AZ_COD_AZIENDA", "SE")) << form.GetLastError();
	pDoc->RiempiListBoxConti();
	EXPECT_EQ(form.RowCount(kConti), 7);
	EXPECT_EQ(pDoc->m_pConnLista, m_pConn.get());

	// A database that does not exist: said, with the code, and nothing listed.
	ASSERT_TRUE(form.Type("SEL_AZ_COD_AZIENDA", "RO")) << form.GetLastError();
	m_Ui.Clear();
	pDoc->RiempiListBoxConti();
	EXPECT_EQ(m_Ui.LastMessage(), "Connessione al database esterno RO fallita.");
	EXPECT_EQ(form.RowCount(kConti), 0);

	// Back to the current company: code and description go, the name is the one loaded.
	ASSERT_TRUE(form.Press("SEL_AZ_CORRENTE"));
	EXPECT_EQ(form.Text("SEL_AZ_COD_AZIENDA"), "");
	EXPECT_EQ(form.Text("SEL_AZ_DESCRIZIONE"), "");
	EXPECT_FALSE(form.IsEditable("SEL_AZ_COD_AZIENDA"));
	EXPECT_EQ(form.Text("PB_SYMB_NOME_SIMBOLO"), "UTILE");
	pDoc->RiempiListBoxConti();
	EXPECT_EQ(form.RowCount(kConti), 7);
	pDoc->CloseDocument(FALSE);
}

// "Filtro" opens the filter on the symbol's ranges; closed with OK, it makes "Carica da tabelle" load
// only the cost centres of the range typed, and still every job. The cost-centre tab's own buttons
// are named with their tab.
TEST_F(PropSimboloPBase, TheFilterChosenRulesWhatTheHostsTablesLoad)
{
	m_pConn->ExecuteSQL("INSERT INTO Erp_Jobs (Job, Description) VALUES ('J01', 'Commessa uno'), ('J02', 'Commessa due')");
	m_pConn->ExecuteSQL("INSERT INTO Erp_CostCenters (CostCenter, Description) VALUES ('AMM', 'Amministrazione'), "
						"('MAG', 'Magazzino'), ('PRD', 'Produzione'), ('VEN', 'Vendite')");
	auto* pDoc = Apri();
	ASSERT_NE(pDoc, nullptr);
	FormDriver form(pDoc);
	ASSERT_TRUE(form.SelectRow(kConti, 5));
	auto filtro = [&]() -> FormDriver {
		for (CBaseDocument* p : m_Manager.GetOpenDocuments())
			if (p->IsKindOf(RUNTIME_CLASS(Kvz_FiltriCommesseDoc)))
				return FormDriver(p);
		ADD_FAILURE() << "no filter open";
		return FormDriver(pDoc);
	};
	ASSERT_TRUE(form.Press("Filtro")) << form.GetLastError();
	{
		FormDriver f = filtro();
		EXPECT_EQ(f.Text("Tutte") + f.Text("Tutti"), "SiSi");
		EXPECT_FALSE(f.IsEditable("Dal centro di costo"));
		ASSERT_TRUE(f.Press("Tutti"));
		ASSERT_TRUE(f.Type("Dal centro di costo", "MAG")) << f.GetLastError();
		EXPECT_EQ(f.Text("Al centro di costo"), "MAG");  // the range's end starts as its beginning
		EXPECT_EQ(f.Text("FILTRI_COMMESSE_DESCRI_AL_CENTRO_COSTO"), "Magazzino");
		ASSERT_TRUE(f.Type("Al centro di costo", "PRD")) << f.GetLastError();
		EXPECT_EQ(f.Text("FILTRI_COMMESSE_DESCRI_DAL_CENTRO_COSTO"), "Magazzino");
		EXPECT_EQ(f.Text("FILTRI_COMMESSE_DESCRI_AL_CENTRO_COSTO"), "Produzione");
		// "Tutte" cleared and set again: the job range is empty again.
		ASSERT_TRUE(f.Press("Tutte"));
		ASSERT_TRUE(f.Type("Dalla commessa", "J02")) << f.GetLastError();
		ASSERT_TRUE(f.Press("Tutte"));
		EXPECT_EQ(f.Text("Dalla commessa") + f.Text("Alla commessa"), "");
		ASSERT_TRUE(f.Press("OK"));
		EXPECT_FALSE(f.IsOpen());
	}
	ASSERT_TRUE(form.Press("Carica da tabelle")) << form.GetLastError();
	const std::vector<std::string> codici = Codici(form, kCdcComm);
	for (const char* c : {"J01", "J02", "MAG", "PRD"})
		EXPECT_NE(std::find(codici.begin(), codici.end(), c), codici.end()) << c;
	for (const char* c : {"AMM", "VEN"})
		EXPECT_EQ(std::find(codici.begin(), codici.end(), c), codici.end()) << c;

	// On the cost-centre tab the accounts tab's buttons of the same names are not the ones meant.
	ASSERT_TRUE(form.Press("PB_SYMB_CDC_COMM")) << form.GetLastError();
	EXPECT_FALSE(form.Press("Filtro"));
	ASSERT_TRUE(form.Press("Selezione centri/commesse/Filtro")) << form.GetLastError();
	{
		FormDriver f = filtro();
		EXPECT_EQ(f.Text("Dal centro di costo") + "-" + f.Text("Al centro di costo"), "MAG-PRD");
		ASSERT_TRUE(f.Press("OK"));
	}
	EXPECT_TRUE(form.Exists("Selezione centri/commesse/Carica da tabelle"));
	pDoc->CloseDocument(FALSE);
}

TEST_F(PropSimboloPBase, SelectingByCostCentresOpensTheirTabWhoseTypeFilterRulesTheLookups)
{
	m_pConn->ExecuteSQL("INSERT INTO Erp_FiscalYears (FiscalYear, StartDate, EndDate) VALUES (2026, '2026-01-01', '2026-12-31')");
	m_pConn->ExecuteSQL("INSERT INTO Erp_Jobs (Job, Description) VALUES ('J01', 'Commessa uno')");
	m_pConn->ExecuteSQL("INSERT INTO Erp_CostCenters (CostCenter, Description) VALUES ('PRD', 'Produzione')");
	auto* pDoc = Apri();
	ASSERT_NE(pDoc, nullptr);
	FormDriver form(pDoc);
	ASSERT_TRUE(form.Press("PB_SYMB_CDC_COMM")) << form.GetLastError();
	EXPECT_FALSE(pDoc->m_pTabber->GetDialog(0)->IsTabEnabled());
	EXPECT_TRUE(pDoc->m_pTabber->GetDialog(1)->IsTabEnabled());
	EXPECT_EQ(pDoc->m_pTabber->GetActiveTab(), 1);
	// Cost centres only: a job is refused by both ends of the range; both: accepted.
	ASSERT_TRUE(form.Press("PB_SYMB_CENTRI"));
	EXPECT_FALSE(form.Type("PB_SYMB_CDC_COMM_DA", "J01"));
	EXPECT_FALSE(form.Type("PB_SYMB_CDC_COMM_A", "J01"));
	EXPECT_TRUE(form.Type("PB_SYMB_CDC_COMM_DA", "PRD")) << form.GetLastError();
	ASSERT_TRUE(form.Press("PB_SYMB_COMMESSE"));
	EXPECT_FALSE(form.Type("PB_SYMB_CDC_COMM_A", "PRD"));
	ASSERT_TRUE(form.Press("PB_SYMB_ENTRAMBI"));
	EXPECT_TRUE(form.Type("PB_SYMB_CDC_COMM_DA", "J01")) << form.GetLastError();
	EXPECT_TRUE(form.Type("PB_SYMB_CDC_COMM_A", "PRD")) << form.GetLastError();
	// The list of this tab: every cost centre and job in the range, each with its accounts.
	pDoc->RiempiListBoxCdcComm();
	EXPECT_EQ(Codici(form, "Commesse/Centri di costo1"), (Codes{"J01", "PRD"}));
	EXPECT_EQ(Codici(form, kConti), (Codes{"3001001"}));
	pDoc->CloseDocument(FALSE);
}

}  // namespace
