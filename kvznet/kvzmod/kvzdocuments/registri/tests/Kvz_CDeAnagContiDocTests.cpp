// The grouped-accounts register driven as a user drives its form: accounts with their split over
// cost centres and jobs, the base plan each split gets, the questions of flagged accounts.
#include <gtest/gtest.h>

#include <string>

#include "kvznet/kvzmod/kvzdocuments/tests/KvzDocumentsFixture.h"
#include "kvznet/kvzmod/kvzcomponents/GestIds.h"
#include "kvznet/kvzmod/kvzdbl/KvzNetSettings.h"
#include "kvznet/kvzmod/kvzdocuments/registri/Kvz_CDeAnagContiDoc.h"
#include "platform/erp/erpledgerdbl/ErpLedgerDblTables.h"
#include "platform/erp/erpledgerdbl/TJobs.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/Settings.h"
#include "platform/plvges/FormDriver.h"
#include "platform/plvoledb/driver/Driver.h"

namespace {

const char* const kGriglia = "Centri/Commesse";

class AnagContiDoc : public KvzDocumentsLibrary
{
protected:
	void SetUp() override
	{
		KvzDocumentsLibrary::SetUp();
		ASSERT_TRUE(erp::RegisterLedgerTables(*m_pConn));
		AfxSetSettingsRoot(CString((m_Folder / "settings").string()));
		AfxSetApplicationDate(DataDate(15, 3, 2026));
		Sql("INSERT INTO Erp_CostCenters (CostCenter, Description) VALUES ('DIR', 'Direzione'), ('PRD', 'Produzione')");
		Sql("INSERT INTO Erp_Jobs (Job, Description) VALUES ('J1', 'Commessa uno')");
	}
	void TearDown() override
	{
		for (CBaseDocument* pDoc : m_Manager.GetOpenDocuments())
			pDoc->CloseDocument(FALSE);
		AfxResetApplicationDate();
		KvzDocumentsLibrary::TearDown();
	}

	void Sql(const std::string& sql) { m_pConn->Db().Execute(sql); }
	long Long(const std::string& sql)
	{
		auto st = m_pConn->Db().Prepare(sql);
		return st->Step() ? long(std::get<int64_t>(st->Column(0))) : -1L;
	}
	std::string Text(const std::string& sql)
	{
		auto st = m_pConn->Db().Prepare(sql);
		if (!st->Step())
			return "<none>";
		const plv::db::Value v = st->Column(0);
		return std::holds_alternative<std::string>(v) ? std::get<std::string>(v) : "<not text>";
	}
	// A grouped account of 2026 and its split rows, written straight into the tables.
	void Conto(const std::string& conto, bool flag, const std::string& righe = "")
	{
		Sql("INSERT INTO Kvz_AnagConti (Esercizio, ContoKvz, Descrizione, TipoConto, TipoMastro, AggiungiCdcCommAuto) "
			"VALUES (2026, '" +
			conto + "', 'Conto " + conto + "', 10043 * 65536, 10051 * 65536, " + (flag ? "1" : "0") + ")");
		if (!righe.empty())
			Sql("INSERT INTO Kvz_CentriCommPianoConti (Esercizio, ContoKvz, CentroCommessa, Descrizione, Tipo, "
				"InseritoManualmente) VALUES " +
				righe);
	}
	std::string Splits(const std::string& conto)
	{
		return Text("SELECT COALESCE(group_concat(CentroCommessa || ':' || InseritoManualmente, ' '), '') FROM (SELECT * FROM "
					"Kvz_CentriCommPianoConti WHERE ContoKvz = '" +
					conto + "' ORDER BY CentroCommessa)");
	}
	long Teste(const std::string& conto) { return Long("SELECT COUNT(*) FROM Kvz_PianoBaseT WHERE ContoKvz = '" + conto + "'"); }
	long Mesi(const std::string& conto) { return Long("SELECT COUNT(*) FROM Kvz_PianoBaseR WHERE ContoKvz = '" + conto + "'"); }

	FormDriver Apri()
	{
		auto* pDoc = Open<Kvz_CDeAnagContiDoc>("DAnagConti");
		EXPECT_NE(pDoc, nullptr) << m_Manager.GetLastError().GetString();
		return FormDriver(pDoc);
	}
	static Kvz_CDeAnagContiDoc* Doc(FormDriver& form) { return dynamic_cast<Kvz_CDeAnagContiDoc*>(form.GetDocument()); }
	// A new account with one row per code (a job when the code starts with J).
	static void Nuovo(FormDriver& form, const char* conto, std::initializer_list<const char*> codici, bool flag = false)
	{
		ASSERT_TRUE(form.New());
		ASSERT_TRUE(form.Type("ContoKvz", conto));
		if (flag)
		{
			ASSERT_TRUE(form.Press("AggiungiCdcCommAuto"));
		}
		for (const char* codice : codici)
		{
			ASSERT_TRUE(form.AddRow(kGriglia));
			const int n = form.RowCount(kGriglia) - 1;
			ASSERT_TRUE(form.TypeCell(kGriglia, n, "Tipo", codice[0] == 'J' ? "Commessa" : "Centro di costo"));
			ASSERT_TRUE(form.TypeCell(kGriglia, n, "Codice", codice)) << form.GetLastError().GetString();
		}
	}
	void Modifica(FormDriver& form, const char* conto)
	{
		ASSERT_TRUE(form.Find());
		ASSERT_TRUE(form.Type("Esercizio", "2026"));
		ASSERT_TRUE(form.Type("ContoKvz", conto));
		ASSERT_TRUE(form.Save()) << conto << ": " << m_Ui.LastMessage().GetString();
		ASSERT_TRUE(form.Edit()) << conto;
	}
	bool Chiesto(const char* domanda)
	{
		for (const ShownMessage& m : m_Ui.Messages())
			if (m.text.Find(domanda) != -1)
				return true;
		return false;
	}
};

TEST_F(AnagContiDoc, ANewAccountsSplitsGetTheirBasePlanOnceAndDeletedMonthsComeBackCleared)
{
	FormDriver form = Apri();
	Nuovo(form, "c1", {"PRD", "J1"});
	EXPECT_EQ(form.Cell(kGriglia, 0, "Descrizione"), "Produzione");
	EXPECT_EQ(form.Cell(kGriglia, 1, "Descrizione"), "Commessa uno");
	ASSERT_TRUE(form.Save()) << m_Ui.LastMessage().GetString();
	EXPECT_FALSE(Chiesto("Allineare"));  // an account without the flag saves unasked

	// Identifier kind item 0, base-plan numbering of a new year, budget type item 3, both dates today.
	EXPECT_EQ(Text("SELECT group_concat(r, ' ') FROM (SELECT CodPianoBase || ':' || CentroCommessa || ':' || "
				   "(TipoCentroComm & 65535) || ':' || (TipoBudget = 15004 * 65536 + 3) || ':' || DataCreazione || ':' || "
				   "DataUltModifica || ':' || Esercizio AS r FROM Kvz_PianoBaseT WHERE ContoKvz = 'C1' ORDER BY CodPianoBase)"),
			  "00000001:PRD:0:1:2026-03-15:2026-03-15:2026 00000002:J1:1:1:2026-03-15:2026-03-15:2026");
	EXPECT_EQ(Text("SELECT group_concat(IDPianoBase, ' ') FROM (SELECT IDPianoBase FROM Kvz_PianoBaseT ORDER BY 1)"), "1 2");
	EXPECT_EQ(Long("SELECT UltimoID FROM Kvz_IDDocumenti WHERE SpecieArchivio = 15003 * 65536"), 2);
	EXPECT_EQ(Long("SELECT COUNT(DISTINCT r.IDPianoBase || '-' || r.Mese) FROM Kvz_PianoBaseR r JOIN Kvz_PianoBaseT t "
				   "ON t.IDPianoBase = r.IDPianoBase AND t.CentroCommessa = r.CentroCommessa AND "
				   "t.TipoCentroComm = r.TipoCentroComm AND r.Esercizio = 2026 AND r.ContoKvz = 'C1' "
				   "WHERE r.Mese BETWEEN 1 AND 12 AND r.SaldoContabile = 0 AND r.TotaleAssestato = 0"),
			  24);
	EXPECT_EQ(Splits("C1"), "J1:1 PRD:1");

	const DataLng idJ1 = Long("SELECT IDPianoBase FROM Kvz_PianoBaseT WHERE CentroCommessa = 'J1'");
	EXPECT_EQ(Doc(form)->CercaIDPianoBase(DataInt(2026), DataStr("C1"), DataEnum(E_KVZ_TIPOCENTROCOMM, 1), DataStr("J1")), idJ1);
	EXPECT_EQ(long(Doc(form)->CercaIDPianoBase(DataInt(2026), DataStr("C1"), DataEnum(E_KVZ_TIPOCENTROCOMM, 0),
											   DataStr("J1"))),
			  -1L);

	// A second save finds every header and month.
	ASSERT_TRUE(form.Edit());
	ASSERT_TRUE(form.Save());
	EXPECT_EQ(Teste("C1"), 2);
	EXPECT_EQ(Mesi("C1"), 24);

	// A month deleted in between comes back cleared; the others keep their values.
	const long id = Long("SELECT IDPianoBase FROM Kvz_PianoBaseT WHERE CentroCommessa = 'PRD'");
	Sql("DELETE FROM Kvz_PianoBaseR WHERE IDPianoBase = " + std::to_string(id) + " AND Mese = 5");
	Sql("UPDATE Kvz_PianoBaseR SET SaldoContabile = 7, ImportoRateo = 1, TotaleAssestato = 8 WHERE IDPianoBase = " +
		std::to_string(id) + " AND Mese IN (4, 6)");
	ASSERT_TRUE(form.Edit());
	ASSERT_TRUE(form.Save());
	EXPECT_EQ(Mesi("C1"), 24);
	EXPECT_EQ(Text("SELECT group_concat(Mese || '=' || SaldoContabile || '/' || SaldoPrecedente || '/' || "
				   "SaldoDiffAccettato || '/' || ImportoRateo || '/' || RateoDaPrevisionale || '/' || TotaleAssestato, ' ') "
				   "FROM (SELECT * FROM Kvz_PianoBaseR WHERE IDPianoBase = " +
				   std::to_string(id) + " AND Mese BETWEEN 4 AND 6 ORDER BY Mese)"),
			  "4=7.0/0.0/0/1.0/0/8.0 5=0.0/0.0/0/0.0/0/0.0 6=7.0/0.0/0/1.0/0/8.0");
	EXPECT_EQ(Teste("C1"), 2);

	// A split row the user did not enter (an alignment's) gets no base plan.
	Conto("C2", false, "(2026, 'C2', 'DIR', 'Direzione', 15009 * 65536, 0)");
	Modifica(form, "C2");
	ASSERT_TRUE(form.Save());
	EXPECT_EQ(Teste("C2"), 0);
}

TEST_F(AnagContiDoc, TheAlignmentQuestionCancelsSavesOnlyOrAlignsAndCreates)
{
	// A flagged account holding DIR already, as the user entered it.
	Conto("F1", true, "(2026, 'F1', 'DIR', 'Vecchia', 15009 * 65536, 1)");
	FormDriver form = Apri();
	const struct
	{
		const char* conto;
		int risposta;
		bool salvato, creato;
	} casi[] = {{"F2", IDCANCEL, false, false}, {"F3", IDNO, true, false}, {"F4", IDYES, true, true}};
	for (const auto& c : casi)
	{
		SCOPED_TRACE(c.conto);
		Nuovo(form, c.conto, {"DIR", "PRD"}, true);
		ASSERT_TRUE(form.Type("TipoConto", "1"));
		m_Ui.Clear();
		FormDriver::Answer(c.risposta);
		EXPECT_EQ(static_cast<bool>(form.Save()), c.salvato);
		EXPECT_TRUE(Chiesto("Allineare i centri e le commesse su tutti i conti con il flag?"));
		EXPECT_EQ(Long("SELECT COUNT(*) FROM Kvz_AnagConti WHERE ContoKvz = '" + std::string(c.conto) + "'"), c.salvato ? 1 : 0);
		EXPECT_EQ(Teste(c.conto), c.creato ? 2 : 0);
		EXPECT_EQ(Mesi(c.conto), c.creato ? 24 : 0);
		// The defaults are stored with the base plan only.
		EXPECT_EQ(CKvzNetSettings().GetDatiPrecTipoConto().GetItemValue(), c.creato ? 1 : 0);
		if (!c.salvato)
		{
			ASSERT_TRUE(form.Escape());
		}
	}
	// Yes aligned F1 and F3, rows of their own left as they were; the saved account is not aligned.
	EXPECT_EQ(Splits("F1"), "DIR:1 PRD:0");
	EXPECT_EQ(Text("SELECT Descrizione FROM Kvz_CentriCommPianoConti WHERE ContoKvz = 'F1' AND CentroCommessa = 'DIR'"), "Vecchia");
	EXPECT_EQ(Text("SELECT Descrizione FROM Kvz_CentriCommPianoConti WHERE ContoKvz = 'F1' AND CentroCommessa = 'PRD'"),
			  "Produzione");
	EXPECT_EQ(Splits("F3"), "DIR:1 PRD:1");
	EXPECT_EQ(Splits("F4"), "DIR:1 PRD:1");
	EXPECT_EQ(Splits("F2"), "");
	EXPECT_EQ(Teste("F1") + Teste("F3"), 0);  // aligned rows get no base plan
}

TEST_F(AnagContiDoc, ADeletedSplitLeavesTheOtherFlaggedAccountsOnYesAtOnce)
{
	const char* righe = "(2026, '%s', 'DIR', 'Direzione', 15009 * 65536, 1), (2026, '%s', 'PRD', 'Produzione', 15009 * 65536, 1)";
	for (const char* conto : {"F1", "F2", "F3"})
		Conto(conto, true, CString::Formatted(righe, conto, conto).GetString());
	Conto("N1", false, CString::Formatted(righe, "N1", "N1").GetString());

	FormDriver form = Apri();
	// Yes: gone from the other flagged accounts at once, even when the edit is then abandoned.
	Modifica(form, "F1");
	m_Ui.Clear();
	FormDriver::Answer(IDYES);
	ASSERT_TRUE(form.DeleteRow(kGriglia, 1));
	EXPECT_TRUE(Chiesto("Cancellare i centri e le commesse su tutti i conti con il flag?"));
	EXPECT_EQ(Splits("F2") + " / " + Splits("F3") + " / " + Splits("N1"), "DIR:1 / DIR:1 / DIR:1 PRD:1");
	ASSERT_TRUE(form.Escape());
	EXPECT_EQ(Splits("F1"), "DIR:1 PRD:1");

	// No: this account only, when it is saved.
	Modifica(form, "F1");
	FormDriver::Answer(IDNO);
	ASSERT_TRUE(form.DeleteRow(kGriglia, 0));
	EXPECT_EQ(Splits("F2"), "DIR:1");
	FormDriver::Answer(IDNO);  // the alignment on saving
	ASSERT_TRUE(form.Save());
	EXPECT_EQ(Splits("F1"), "PRD:1");
	EXPECT_EQ(Splits("F2"), "DIR:1");

	// An account without the flag asks nothing.
	Modifica(form, "N1");
	m_Ui.Clear();
	ASSERT_TRUE(form.DeleteRow(kGriglia, 0));
	EXPECT_TRUE(m_Ui.Messages().empty());
	EXPECT_EQ(Splits("F2"), "DIR:1");
}

TEST_F(AnagContiDoc, NewRecordDefaultsTypeRuleLookupsAndBrowsingByYear)
{
	CKvzNetSettings settings;
	settings.SetDatiPrecTipoConto(DataEnum(E_TIPOCONTO, 1), TRUE);
	settings.SetDatiPrecNaturaDelConto(DataEnum(E_TIPOMASTRO, 2), TRUE);
	AfxSetApplicationYear(2027);
	Sql("INSERT INTO Kvz_CodiciBudget (CodiceBudget, Descrizione) VALUES ('B01', 'Servizi')");
	Sql("INSERT INTO Kvz_AnagConti (Esercizio, ContoKvz, Descrizione, TipoConto) VALUES "
		"(2026, 'P1', 'Crediti', 10043 * 65536 + 1), (2026, 'E1', 'Ricavi', 10043 * 65536), "
		"(2027, 'P7', 'Debiti', 10043 * 65536 + 1), (2025, 'B1', 'Altro anno', 10043 * 65536)");

	FormDriver form = Apri();
	ASSERT_TRUE(form.New());
	const Kvz_TAnagContiKvz* pRec = Doc(form)->GetAnagConti();
	EXPECT_EQ(form.Text("Esercizio"), "2027");
	EXPECT_EQ(pRec->f_TipoConto.GetItemValue(), 1);
	EXPECT_EQ(pRec->f_TipoMastro.GetItemValue(), 2);
	EXPECT_TRUE(pRec->f_InseritoManualmente && pRec->f_ProponiInAssest && pRec->f_ModifInAssest);
	EXPECT_FALSE(form.IsEditable("ContoCollegato") || form.IsEditable("InversioneSegno"));

	// An economic account links balance-sheet accounts of its year only.
	ASSERT_TRUE(form.Type("TipoConto", "0"));
	EXPECT_TRUE(form.IsEditable("ContoCollegato") && form.IsEditable("InversioneSegno"));
	ASSERT_TRUE(form.Pick("ContoCollegato", HotKeyLink::UPPER_BUTTON, "", 0));
	EXPECT_EQ(form.Text("ContoCollegato"), "P7");
	ASSERT_TRUE(form.Type("Esercizio", "2026"));
	EXPECT_FALSE(form.Pick("ContoCollegato", HotKeyLink::UPPER_BUTTON, "", 1));
	ASSERT_TRUE(form.Pick("ContoCollegato", HotKeyLink::UPPER_BUTTON, "", 0));
	EXPECT_EQ(form.Text("ContoCollegato"), "P1");
	EXPECT_EQ(form.Text("LINK_DES_CONTO_COLL"), "Crediti");
	ASSERT_TRUE(form.Type("CodiceBudget", "b01"));
	EXPECT_EQ(form.Text("LINK_DES_COD_BUDGET"), "Servizi");
	ASSERT_TRUE(form.Press("InversioneSegno"));
	ASSERT_TRUE(form.Type("ContoKvz", "x1"));
	EXPECT_TRUE(pRec->f_InversioneSegno);  // an economic account keeps it
	// The balance-sheet type clears the link and the sign inversion, and locks both.
	ASSERT_TRUE(form.Type("TipoConto", "1"));
	EXPECT_EQ(form.Text("ContoCollegato"), "");
	EXPECT_EQ(form.Text("LINK_DES_CONTO_COLL"), "");
	EXPECT_FALSE(pRec->f_InversioneSegno);
	EXPECT_FALSE(form.IsEditable("ContoCollegato") || form.IsEditable("InversioneSegno"));

	// The code column looks up jobs or cost centres by the row's type; a new row takes the type
	// of the row above, the first a cost centre.
	ASSERT_TRUE(form.AddRow(kGriglia));
	EXPECT_EQ(form.Cell(kGriglia, 0, "Tipo"), "Centro di costo");
	EXPECT_FALSE(form.TypeCell(kGriglia, 0, "Codice", "J1"));
	ASSERT_TRUE(form.TypeCell(kGriglia, 0, "Tipo", "Commessa"));
	ASSERT_TRUE(form.TypeCell(kGriglia, 0, "Codice", "J1"));
	ASSERT_TRUE(form.AddRow(kGriglia));
	EXPECT_EQ(form.Cell(kGriglia, 1, "Tipo"), "Commessa");
	ASSERT_NE(Doc(form)->m_pCodiceCtrl, nullptr);
	EXPECT_TRUE(Doc(form)->m_pCodiceCtrl->GetHotKeyLink()->IsKindOf(RUNTIME_CLASS(HKLJobs)));
	ASSERT_TRUE(form.SelectRow(kGriglia, 0));
	ASSERT_TRUE(form.Save()) << m_Ui.LastMessage().GetString();  // the empty second row is not kept
	EXPECT_EQ(Splits("X1"), "J1:1");
	EXPECT_EQ(CKvzNetSettings().GetDatiPrecEsercizio(), DataInt(2026));

	// In edit mode the keys and the type are locked, the type rule holds.
	ASSERT_TRUE(form.Edit());
	for (const char* campo : {"Esercizio", "ContoKvz", "TipoConto", "TipoMastro", "ContoCollegato", "InversioneSegno"})
		EXPECT_FALSE(form.IsEditable(campo)) << campo;
	EXPECT_TRUE(form.IsEditable("Descrizione"));
	ASSERT_TRUE(form.Escape());

	// Browsing walks the accounts of the application date's year, by code.
	std::string visti;
	ASSERT_TRUE(form.First());
	do
		visti += form.Text("ContoKvz").GetString() + std::string(":") + form.Text("LINK_DES_COD_BUDGET").GetString() + " ";
	while (form.Next());
	EXPECT_EQ(visti, "E1: P1: X1:Servizi ");
}

TEST_F(AnagContiDoc, KeysAndSplitCodesAreRequired)
{
	FormDriver form = Apri();
	ASSERT_TRUE(form.New());
	m_Ui.Clear();
	EXPECT_FALSE(form.Save());
	EXPECT_NE(m_Ui.LastMessage().Find("Indicare sia l'esercizio che il codice conto."), -1) << m_Ui.LastMessage().GetString();

	ASSERT_TRUE(form.Type("ContoKvz", "K1"));
	ASSERT_TRUE(form.AddRow(kGriglia));
	ASSERT_TRUE(form.TypeCell(kGriglia, 0, "Descrizione", "senza codice"));
	m_Ui.Clear();
	EXPECT_FALSE(form.Save());
	EXPECT_NE(m_Ui.LastMessage().Find("Riga 1: indicare il codice"), -1) << m_Ui.LastMessage().GetString();
	EXPECT_EQ(Long("SELECT COUNT(*) FROM Kvz_AnagConti"), 0);
	EXPECT_EQ(Long("SELECT COUNT(*) FROM Kvz_PianoBaseT"), 0);
	EXPECT_FALSE(form.TypeCell(kGriglia, 0, "Codice", "NOPE"));  // only the host's cost centres
}

// A new account under a code its year already has is refused with the reason before anything is
// written or a counter taken; the same code in another year is an account of its own.
TEST_F(AnagContiDoc, ANewAccountUnderACodeTakenInItsYearIsRefusedWithTheReason)
{
	Conto("K1", true, "(2026, 'K1', 'DIR', 'Direzione', 0, 1)");
	Conto("K2", true);
	FormDriver form = Apri();
	Nuovo(form, "K1", {"PRD"}, true);
	m_Ui.Clear();
	EXPECT_FALSE(form.Save());
	EXPECT_EQ(m_Ui.LastMessage(), "Il conto K1 esercizio 2026 esiste gia'.");
	EXPECT_FALSE(Chiesto("Allineare"));
	EXPECT_EQ(form.Mode(), CBaseDocument::NEW);
	EXPECT_EQ(Splits("K1") + "|" + Splits("K2"), "DIR:1|");
	EXPECT_EQ(Long("SELECT COUNT(*) FROM Kvz_PianoBaseT") + Long("SELECT COUNT(*) FROM Kvz_IDDocumenti") +
				  Long("SELECT COUNT(*) FROM Kvz_NumDocumenti"),
			  0);

	ASSERT_TRUE(form.Type("Esercizio", "2027"));
	ASSERT_TRUE(form.Press("AggiungiCdcCommAuto"));
	m_Ui.Clear();
	EXPECT_TRUE(form.Save()) << m_Ui.LastMessage().GetString();
	EXPECT_EQ(Long("SELECT COUNT(*) FROM Kvz_AnagConti WHERE ContoKvz = 'K1'"), 2);
}

// A header is never written without its identifier and number: the save is refused and says why.
TEST_F(AnagContiDoc, ACounterThatFailsRefusesTheSaveAndWritesNoBasePlan)
{
	Sql("INSERT INTO Kvz_IDDocumenti (SpecieArchivio, UltimoID) VALUES (15003 * 65536, 10)");
	FormDriver form = Apri();
	Nuovo(form, "Z1", {"PRD"});

	// The identifier's row held by another document.
	{
		CAbstractFormDoc other;
		Kvz_IDManager holder(DataEnum(E_KVZ_SPECIEARCHIVIO, 0), &other);
		ASSERT_TRUE(holder.ReadNextCounter(TRUE, FALSE));
		m_Ui.Clear();
		EXPECT_FALSE(form.Save());
		EXPECT_NE(m_Ui.LastMessage().Find("Impossibile numerare il piano base del conto Z1, centro di costo PRD"), -1)
			<< m_Ui.LastMessage().GetString();
		EXPECT_EQ(form.Mode(), CBaseDocument::NEW);
		EXPECT_EQ(Long("SELECT COUNT(*) FROM Kvz_AnagConti") + Long("SELECT COUNT(*) FROM Kvz_PianoBaseT") +
					  Long("SELECT COUNT(*) FROM Kvz_PianoBaseR"),
				  0);
		holder.UnlockAll();
	}
	// Numbering that fails after the identifier was taken.
	Sql("DROP TABLE Kvz_NumDocumenti");
	m_Ui.Clear();
	EXPECT_FALSE(form.Save());
	EXPECT_NE(m_Ui.LastMessage().Find("Impossibile numerare il piano base"), -1) << m_Ui.LastMessage().GetString();
	EXPECT_EQ(Long("SELECT COUNT(*) FROM Kvz_PianoBaseT") + Long("SELECT COUNT(*) FROM Kvz_PianoBaseR"), 0);
}

}  // namespace
