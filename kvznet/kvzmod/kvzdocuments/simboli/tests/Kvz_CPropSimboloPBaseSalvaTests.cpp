// Saving a base-plan symbol through its form, then valuing it with the formula engine: an
// account range and a ticked list with signs; a save that fails writes nothing and keeps the
// form open; the splits a tick asks for are written by the save, with their base-plan months.
#include <cstdlib>
#include <string>
#include <variant>
#include <vector>

#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCentriCommesseContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseRighe.h"
#include "kvznet/kvzmod/kvzdocuments/simboli/Kvz_CPropSimboloPBaseDoc.h"
#include "kvznet/kvzmod/kvzdocuments/formule/MngFormula.h"
#include "kvznet/kvzmod/kvzdocuments/tests/KvzDocumentsFixture.h"
#include "platform/erp/erpsetup/CompanySetup.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/Settings.h"
#include "platform/plvges/FormDriver.h"
#include "platform/plvoledb/driver/Driver.h"

namespace {

const char* const kConti = "Conti";
const int kAnno = 2026;

class SalvaSimboloPBase : public KvzDocumentsLibrary
{
protected:
	void SetUp() override
	{
		KvzDocumentsLibrary::SetUp();
		erp::SetupCompanyDatabase(*m_pConn);
		AfxSetSettingsRoot(CString((m_Folder / "settings").string()));
		AfxSetApplicationDate(DataDate(15, 3, kAnno));
		Conto("3001001", "Vendite Italia");
		Conto("3001002", "Vendite estero");
		Conto("4001001", "Acquisti");
		// Balances by month: 3001001 m*10, 3001002 m*100, 4001001 7 every month.
		long id = 0;
		for (int mese = 1; mese <= 12; ++mese)
		{
			Riga(++id, "3001001", mese, mese * 10.0);
			Riga(++id, "3001002", mese, mese * 100.0);
			Riga(++id, "4001001", mese, 7.0);
		}
	}
	void TearDown() override
	{
		KvzDocumentsLibrary::TearDown();
		AfxSetSettingsRoot(CString());
	}

	void Conto(const char* conto, const char* descrizione)
	{
		Kvz_TAnagContiKvz c;
		c.f_Esercizio = kAnno;
		c.f_ContoKvz = conto;
		c.f_Descrizione = descrizione;
		c.f_TipoConto = DataEnum(E_TIPOCONTO, 0);
		Inserisci(c);
	}
	void Riga(long id, const char* conto, int mese, double saldo)
	{
		Kvz_TPianoBaseRighe r;
		r.f_IDPianoBase = 100000 + id;
		r.f_Mese = mese;
		r.f_ContoKvz = conto;
		r.f_Esercizio = kAnno;
		r.f_TipoMastro = DataEnum(E_TIPOMASTRO, 3);
		r.f_SaldoContabile = saldo;
		Inserisci(r);
	}

	long RigheSimboli()
	{
		return Numero("SELECT COUNT(*) FROM Kvz_AnagSimboli") + Numero("SELECT COUNT(*) FROM Kvz_SimboliPianoBase") +
			   Numero("SELECT COUNT(*) FROM Kvz_ElencoContiSimboloPBase");
	}

	// A new symbol reading the balance of the formula's year and month.
	FormDriver Nuovo(const char* nome)
	{
		auto* pDoc = Open<Kvz_CPropSimboloPBaseDoc>("BDPropSimboloPBase");
		EXPECT_NE(pDoc, nullptr);
		FormDriver form(pDoc);
		EXPECT_TRUE(form.Type("PB_SYMB_MODELLO", "CE")) << form.GetLastError();
		EXPECT_TRUE(form.Type("PB_SYMB_NOME_SIMBOLO", nome)) << form.GetLastError();
		EXPECT_TRUE(form.Press("PB_SYMB_SEL_SALDO")) << form.GetLastError();
		return form;
	}
	int RigaConto(FormDriver& form, const char* conto)
	{
		for (int i = 0; i < form.RowCount(kConti); ++i)
			if (form.Cell(kConti, i, "Codice") == conto)
				return i;
		ADD_FAILURE() << "no row " << conto;
		return -1;
	}
	void Spunta(FormDriver& form, const char* conto, const char* segno = nullptr)
	{
		const int i = RigaConto(form, conto);
		ASSERT_TRUE(form.SelectRow(kConti, i)) << form.GetLastError();
		ASSERT_TRUE(form.TypeCell(kConti, i, "S", "Si")) << form.GetLastError();
		if (segno)
		{
			ASSERT_TRUE(form.TypeCell(kConti, i, "Oper", segno)) << form.GetLastError();
		}
	}

	std::vector<double> Valuta(const char* formula)
	{
		CMessages messaggi;
		Kvz_New_MngFormula f(&messaggi, nullptr);
		f.AttachDefault(DataInt(kAnno), DataInt(1), DataInt(12), DataStr("CE"), DataEnum(E_KVZ_TIPODATOPBASE, 0),
						DataEnum());
		f.AttachFormula(formula);
		EXPECT_TRUE(f.Eval()) << formula;
		std::vector<double> v;
		for (int m = 0; m < 12; ++m)
			v.push_back(f.GetResult(m).GetValue());
		return v;
	}
	static std::vector<double> PerMese(double (*f)(int))
	{
		std::vector<double> v;
		for (int m = 1; m <= 12; ++m)
			v.push_back(f(m));
		return v;
	}
};

TEST_F(SalvaSimboloPBase, ARangeAndATickedListAreSavedAndValuedByTheEngine)
{
	{
		FormDriver form = Nuovo("INTERVALLO");
		ASSERT_TRUE(form.Type("PB_SYMB_OPE_CONTO", "Compreso tra")) << form.GetLastError();
		ASSERT_TRUE(form.Type("PB_SYMB_CONTO_DA", "3001001"));
		ASSERT_TRUE(form.Type("PB_SYMB_CONTO_A", "3001002"));
		ASSERT_TRUE(form.Save()) << form.GetLastError();
		EXPECT_FALSE(form.IsOpen());
	}
	EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_ElencoContiSimboloPBase"), 0);
	EXPECT_EQ(Valuta("_INTERVALLO"), PerMese([](int m) { return m * 110.0; }));

	{
		FormDriver form = Nuovo("ELENCO");
		Spunta(form, "3001002");
		Spunta(form, "4001001", "Sottrae");
		ASSERT_TRUE(form.RunBatch()) << form.GetLastError();
		EXPECT_FALSE(form.IsOpen());
	}
	EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_ElencoContiSimboloPBase WHERE NomeSimbolo = 'ELENCO'"), 2);
	EXPECT_EQ(Numero("SELECT TipoSimbolo FROM Kvz_AnagSimboli WHERE NomeSimbolo = 'ELENCO'"),
			  static_cast<long>(DataEnum(E_KVZ_TIPOSIMBOLO, 0).GetValue()));
	EXPECT_EQ(Valuta("_ELENCO"), PerMese([](int m) { return m * 100.0 - 7.0; }));
	EXPECT_EQ(Valuta("_INTERVALLO-_ELENCO"), PerMese([](int m) { return m * 10.0 + 7.0; }));
}

TEST_F(SalvaSimboloPBase, TheChecksRefuseAndKeepTheFormOpen)
{
	const struct
	{
		const char* nome;
		std::vector<std::pair<const char*, const char*>> campi;
		const char* messaggio;
	} casi[] = {
		{"", {}, "Indicare il nome del simbolo."},
		{"UTILE_1", {}, "Carattere '_' non ammesso. Il nome del simbolo puo' contenere soltanto numeri e lettere."},
		{"123", {}, "Selezionare almeno un conto."},
		{"UNO", {{"PB_SYMB_OPE_CONTO", "="}}, "Indicare il conto."},
		{"UNO",
		 {{"PB_SYMB_OPE_CONTO", "="}, {"PB_SYMB_CONTO_DA", "3001001"}, {"PB_SYMB_F_AGGREG", "Nessuna"},
		  {"PB_SYMB_OPE_MESE", "Compreso tra"}, {"PB_SYMB_WHERE_MESE_CONST_A", "Si"}, {"PB_SYMB_MESE_A", "4"}},
		 "La condizione di estrazione e di ricerca indicata non e' univoca (estrae piu' di una riga dal database)."},
	};
	for (const auto& c : casi)
	{
		FormDriver form = Nuovo(c.nome);
		for (const auto& [campo, valore] : c.campi)
		{
			if (std::string(valore) == "Si")
				ASSERT_TRUE(form.Press(campo)) << campo << form.GetLastError();
			else
				ASSERT_TRUE(form.Type(campo, valore)) << campo << form.GetLastError();
		}
		m_Ui.Clear();
		EXPECT_FALSE(form.Save()) << c.messaggio;
		EXPECT_EQ(m_Ui.LastMessage(), c.messaggio);
		EXPECT_TRUE(form.IsOpen());
		EXPECT_EQ(RigheSimboli(), 0);
		EXPECT_TRUE(form.Press("Annulla"));
	}
}

// A condition over accounts of several grouping levels takes the same amounts more than once:
// the save says so and goes on.
TEST_F(SalvaSimboloPBase, AConditionOverSeveralLevelsIsSaidAndSaved)
{
	Conto("30", "Ricavi");
	Conto("3001", "Vendite");
	m_pConn->ExecuteSQL("UPDATE Kvz_AnagConti SET ContoKvzPadre = '3001' WHERE ContoKvz LIKE '3001%' AND ContoKvz <> '3001'");
	m_pConn->ExecuteSQL("UPDATE Kvz_AnagConti SET ContoKvzPadre = '30' WHERE ContoKvz = '3001'");
	const struct
	{
		const char* nome;
		const char* ope;
		const char* da;
		const char* a;
		const char* avviso;  // null: nothing said
	} casi[] = {
		{"LIVELLI", "Compreso tra", "3", "3999999",
		 "Il simbolo LIVELLI prende conti di piu' livelli del raggruppamento (livello 1: 30, livello 2: 3001, livello 3: "
		 "3001001): gli importi di un conto sono anche nei conti che lo raggruppano e verrebbero contati piu' volte."},
		{"FOGLIE", "Compreso tra", "3001001", "3001999", nullptr},
		{"GRUPPO", "=", "3001", nullptr, nullptr},
	};
	for (const auto& c : casi)
	{
		SCOPED_TRACE(c.nome);
		FormDriver form = Nuovo(c.nome);
		ASSERT_TRUE(form.Type("PB_SYMB_OPE_CONTO", c.ope)) << form.GetLastError();
		ASSERT_TRUE(form.Type("PB_SYMB_CONTO_DA", c.da));
		if (c.a)
		{
			ASSERT_TRUE(form.Type("PB_SYMB_CONTO_A", c.a));
		}
		m_Ui.Clear();
		ASSERT_TRUE(form.Save()) << form.GetLastError();
		if (c.avviso)
		{
			ASSERT_EQ(m_Ui.Messages().size(), 1u);
			EXPECT_EQ(m_Ui.LastMessage(), c.avviso);
			EXPECT_EQ(m_Ui.Messages()[0].type, UINT(MB_OK | MB_ICONWARNING));
		}
		else
			EXPECT_TRUE(m_Ui.Messages().empty());
	}
	EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_SimboliPianoBase"), 3);
}

TEST_F(SalvaSimboloPBase, ASaveThatFailsPartWayWritesNothing)
{
	FormDriver form = Nuovo("ROTTO");
	Spunta(form, "3001001");
	// The registry and the definition go in, the selection cannot.
	m_pConn->ExecuteSQL("DROP TABLE Kvz_ElencoContiSimboloPBase");
	m_Ui.Clear();
	EXPECT_FALSE(form.Save());
	EXPECT_TRUE(form.IsOpen());
	EXPECT_FALSE(m_Ui.Messages().empty());
	EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_AnagSimboli") + Numero("SELECT COUNT(*) FROM Kvz_SimboliPianoBase"), 0);
}

class SplitSimbolo : public SalvaSimboloPBase
{
protected:
	void SetUp() override
	{
		SalvaSimboloPBase::SetUp();
		// A cost centre of the host that no account is split over yet.
		m_pConn->ExecuteSQL("INSERT INTO Erp_CostCenters (CostCenter, Description) VALUES ('PRD', 'Produzione')");
		m_pConn->ExecuteSQL("INSERT INTO Erp_FiscalYears (FiscalYear, StartDate, EndDate) VALUES (2026, '2026-01-01', "
							"'2026-12-31')");
	}
	// Ticks the account, loads the host's cost centres into its grid and ticks PRD.
	void SpuntaCdc(FormDriver& form)
	{
		Spunta(form, "4001001");
		ASSERT_TRUE(form.Press("Carica da tabelle")) << form.GetLastError();
		const char* grid = "Commesse/Centri di costo2";
		int riga = -1;
		for (int i = 0; i < form.RowCount(grid); ++i)
			if (form.Cell(grid, i, "Codice") == "PRD")
				riga = i;
		ASSERT_GE(riga, 0);
		ASSERT_TRUE(form.SelectRow(grid, riga));
		ASSERT_TRUE(form.TypeCell(grid, riga, "S", "Si")) << form.GetLastError();
	}
	long Split() { return Numero("SELECT COUNT(*) FROM Kvz_CentriCommPianoConti"); }
};

TEST_F(SplitSimbolo, TheSplitATickAsksForIsWrittenBySavingWithItsTwelveMonths)
{
	FormDriver form = Nuovo("CONCDC");
	SpuntaCdc(form);
	EXPECT_EQ(Split(), 0);  // the tick writes nothing
	ASSERT_TRUE(form.Save()) << form.GetLastError();
	EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_CentriCommPianoConti WHERE ContoKvz = '4001001' AND CentroCommessa = "
					 "'PRD' AND InseritoDaSimbolo = 1"),
			  1);
	EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_PianoBaseT WHERE ContoKvz = '4001001' AND CentroCommessa = 'PRD'"), 1);
	EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_PianoBaseR WHERE ContoKvz = '4001001' AND CentroCommessa = 'PRD' AND "
					 "SaldoContabile = 0 AND TotaleAssestato = 0"),
			  12);
}

// Editing the symbol again (as the formula editor opens it) and unticking the cost centre: the
// split and its months go when every amount of every month is zero, and stay otherwise.
TEST_F(SplitSimbolo, UntickingRemovesTheSplitAndItsMonthsOnlyWhenEveryAmountIsZero)
{
	for (const bool bConImporto : {false, true})
	{
		const char* nome = bConImporto ? "CONRATEO" : "AZERO";
		{
			FormDriver form = Nuovo(nome);
			SpuntaCdc(form);
			ASSERT_TRUE(form.Save()) << form.GetLastError();
		}
		if (bConImporto)  // an accrual only: the adjusted total stays zero
			m_pConn->ExecuteSQL("UPDATE Kvz_PianoBaseR SET ImportoRateo = 5 WHERE CentroCommessa = 'PRD' AND Mese = 4");

		auto* pDoc = Open<Kvz_CPropSimboloPBaseDoc>("BDPropSimboloPBase");
		ASSERT_NE(pDoc, nullptr);
		FormDriver form(pDoc);
		pDoc->m_ModoDoc = DataEnum(E_KVZ_MODODOCSIMBOLO, 1);
		pDoc->m_Modello = "CE";
		pDoc->m_NomeSimbolo = nome;
		pDoc->CaricaSimbolo();
		pDoc->m_VisSoloSel = TRUE;
		pDoc->m_VisTutti = FALSE;
		ASSERT_TRUE(form.Press("Estrai conti"));
		ASSERT_EQ(form.RowCount(kConti), 1);
		EXPECT_EQ(form.Cell(kConti, 0, "S"), "Si");
		const char* grid = "Commesse/Centri di costo2";
		ASSERT_EQ(form.RowCount(grid), 1);
		EXPECT_EQ(form.Cell(grid, 0, "S"), "Si");
		ASSERT_TRUE(form.SelectRow(grid, 0));
		ASSERT_TRUE(form.TypeCell(grid, 0, "S", "No")) << form.GetLastError();
		ASSERT_TRUE(form.Save()) << form.GetLastError();

		const long attese = bConImporto ? 1 : 0;
		EXPECT_EQ(Split(), 0) << nome;  // its percentage is 0
		EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_PianoBaseT WHERE CentroCommessa = 'PRD'"), attese) << nome;
		EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_PianoBaseR WHERE CentroCommessa = 'PRD'"), attese * 12) << nome;
		EXPECT_EQ(Numero(std::string("SELECT COUNT(*) FROM Kvz_ElencoContiSimboloPBase WHERE NomeSimbolo = '") + nome +
						 "' AND ContoSelez = '4001001' AND CentroCommessa = ''"),
				  1);
	}
}

TEST_F(SplitSimbolo, AFailingIdManagerWritesNoHeaderAndNoSymbol)
{
	FormDriver form = Nuovo("SENZAID");
	SpuntaCdc(form);
	m_pConn->ExecuteSQL("DROP TABLE Kvz_IDDocumenti");  // no identifier can be taken
	m_Ui.Clear();
	EXPECT_FALSE(form.Save());
	EXPECT_TRUE(form.IsOpen());
	EXPECT_FALSE(m_Ui.LastMessage().IsEmpty());  // the counter's error, shown
	EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_PianoBaseT") + Numero("SELECT COUNT(*) FROM Kvz_PianoBaseR WHERE "
																	 "CentroCommessa = 'PRD'"),
			  0);
	EXPECT_EQ(Split() + RigheSimboli(), 0);
}

TEST_F(SplitSimbolo, ACostCentreTickedWithoutAnAccountWritesNothing)
{
	auto* pDoc = Open<Kvz_CPropSimboloPBaseDoc>("BDPropSimboloPBase");
	ASSERT_NE(pDoc, nullptr);
	FormDriver form(pDoc);
	ASSERT_TRUE(form.Press("PB_SYMB_CDC_COMM")) << form.GetLastError();
	ASSERT_TRUE(form.Press("PB_SYMB_ENTRAMBI"));
	ASSERT_TRUE(form.Press("Estrai Cdc/Commesse"));
	const char* grid = "Commesse/Centri di costo1";
	ASSERT_GE(form.RowCount(grid), 1);
	EXPECT_EQ(form.RowCount(kConti), 0);  // PRD is linked to no account
	ASSERT_TRUE(form.TypeCell(grid, 0, "S", "Si")) << form.GetLastError();
	EXPECT_EQ(Split(), 0);
	ASSERT_TRUE(form.Press("Annulla"));
	EXPECT_EQ(Split() + RigheSimboli(), 0);
}

}  // namespace

namespace {

// The symbols that the command line defined on a copy of the imported demo company (the test
// kvz_simbolo_salva of the host): valued by the engine, and by the reclassification run that the
// binary runs over a model row using both; each month equals the base-plan balances by hand.
class SimboloDaRigaDiComando : public KvzDocumentsLibrary
{
protected:
	static double Valore(SqlConnection& db, const std::string& sql)
	{
		auto st = db.Db().Prepare(sql);
		EXPECT_TRUE(st->Step()) << sql;
		const plv::db::Value v = st->Column(0);
		return std::holds_alternative<double>(v)		 ? std::get<double>(v)
			   : std::holds_alternative<std::int64_t>(v) ? static_cast<double>(std::get<std::int64_t>(v))
														 : 0.0;
	}
	static double Somma(SqlConnection& db, const std::string& conti, int mese)
	{
		return Valore(db, "SELECT COALESCE(SUM(SaldoContabile), 0) FROM Kvz_PianoBaseR WHERE Esercizio = 2026 AND Mese = " +
							  std::to_string(mese) + " AND " + conti);
	}
};

TEST_F(SimboloDaRigaDiComando, TheEngineAndTheRunValueWhatTheCommandLineSaved)
{
	const char* szDb = std::getenv("KVZ_SIMBOLO_DB");
	const char* szKvz = std::getenv("KVZ_BINARY");
	if (!szDb || !szKvz)
		GTEST_SKIP() << "run by the host's test kvz_simbolo_salva_valori";
	auto pDemo = SqlConnection::Open(CString(szDb), SqlConnection::OPEN_EXISTING);
	ASSERT_TRUE(pDemo);
	auto immob = [&](int m) { return Somma(*pDemo, "ContoKvz BETWEEN '0201001' AND '0201002'", m); };
	auto netto = [&](int m) {
		return Somma(*pDemo, "ContoKvz = '0201002'", m) - Somma(*pDemo, "ContoKvz = '0102002'", m);
	};
	ASSERT_NE(immob(1), 0.0);  // the months are not trivially zero
	ASSERT_NE(netto(1), immob(1));

	AfxSetDefaultSqlConnection(pDemo.get());
	for (const auto& [formula, atteso] : {std::pair{"_IMMOB", std::function<double(int)>(immob)},
										  std::pair{"_NETTO", std::function<double(int)>(netto)}})
	{
		CMessages messaggi;
		Kvz_New_MngFormula f(&messaggi, nullptr);
		f.AttachDefault(DataInt(2026), DataInt(1), DataInt(12), DataStr("CE"), DataEnum(E_KVZ_TIPODATOPBASE, 0),
						DataEnum());
		f.AttachFormula(formula);
		ASSERT_TRUE(f.Eval()) << formula;
		for (int m = 1; m <= 12; ++m)
			EXPECT_NEAR(f.GetResult(m - 1).GetValue(), atteso(m), 0.005) << formula << " month " << m;
	}
	AfxSetDefaultSqlConnection(m_pConn.get());

	// The model whose row uses both symbols (made by the command line after them), computed by the run.
	ASSERT_EQ(Valore(*pDemo, "SELECT COUNT(*) FROM Kvz_RiclassificazioneRighe WHERE Esercizio = 2026 AND "
							 "ModelloRiclassific = 'CE' AND CodRiclassificato = 'R1' AND Formula = '_IMMOB-_NETTO'"),
			  1.0);
	const std::string comando = std::string(szKvz) + " --db " + szDb +
								" open KvzNet.KvzMod.KvzDocuments.DRiclassificPianoBase --set RCL_PBASE_ESERCIZIO=2026"
								" --set RCL_PBASE_MESE=12 --set RCL_PBASE_MODELLO=CE --run";
	ASSERT_EQ(std::system(comando.c_str()), 0) << comando;
	for (int m = 1; m <= 12; ++m)
		EXPECT_NEAR(Valore(*pDemo, "SELECT Valore FROM Kvz_Riclassificato WHERE Esercizio = 2026 AND ModelloRiclassific "
								   "= 'CE' AND CodRiclassificato = 'R1' AND Mese = " +
									   std::to_string(m)),
					immob(m) - netto(m), 0.005)
			<< "month " << m;
}

}  // namespace
