#include <cstdlib>

#include "kvznet/kvzmod/kvzbatch/EsplosioneSimboliConti.h"
#include "kvznet/kvzmod/kvzbatch/tests/BatchFixture.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TElencoContiSimboloPBase.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneTesta.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliPianoBase.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TmpEsplosioneCodici.h"

namespace {

class EsplosioneSimboliConti : public BatchTest
{
protected:
	void Modello(int anno, const char* modello, const char* descr)
	{
		Kvz_TRiclassificazioneTesta t;
		t.f_Esercizio = anno;
		t.f_ModelloRiclassific = modello;
		t.f_Descrizione = descr;
		Insert(t);
	}
	void Simbolo(const char* nome, const char* annotazioni)
	{
		Kvz_TSimboliPianoBase s;
		s.f_Esercizio = 2026;
		s.f_ModelloRiclassific = "CE";
		s.f_NomeSimbolo = nome;
		s.f_Annotazioni = annotazioni;
		Insert(s);
	}
	void ContoSimbolo(const char* simbolo, const char* conto, WORD segno, const char* centro = "", int anno = 2026)
	{
		Kvz_TElencoContiSimboloPBase r;
		r.f_Esercizio = anno;
		r.f_ModelloRiclassific = "CE";
		r.f_NomeSimbolo = simbolo;
		r.f_ContoSelez = conto;
		r.f_CentroCommessa = centro;
		r.f_SegnoConto = DataEnum(E_KVZ_SEGNOCONTO, segno);
		Insert(r);
	}
	void RigaPiano(const char* conto, int mese, double saldo, double rateo = 0, bool daPrev = false, const char* centro = "")
	{
		Kvz_TPianoBaseRighe r;
		r.f_IDPianoBase = ++m_nId;
		r.f_Esercizio = 2026;
		r.f_Mese = mese;
		r.f_ContoKvz = conto;
		r.f_CentroCommessa = centro;
		r.f_SaldoContabile = saldo;
		r.f_ImportoRateo = rateo;
		r.f_RateoDaPrevisionale = daPrev;
		Insert(r);
	}
	long m_nId = 0;
	void Dati()
	{
		Conto("2001", TRUE, "Acquisti merci");
		Conto("3001", TRUE, "Ricavi vendite");
		Modello(2026, "CE", "Conto economico");
		Simbolo("COSTI", "Costi esterni");
		Simbolo("NETTO", "Ricavi meno costi");
		ContoSimbolo("COSTI", "2001", 0);
		ContoSimbolo("NETTO", "3001", 0);
		ContoSimbolo("NETTO", "2001", 1, "C1");  // subtracted; listed for a cost centre, counted at account level
		for (int m = 1; m <= 4; ++m)
			RigaPiano("2001", m, 100);
		RigaPiano("2001", 2, 0, 10, true);  // a forecast adjustment
		RigaPiano("2001", 3, 0, 5, false);  // another adjustment
		RigaPiano("2001", 2, 7000, 700, true, "C1");  // a cost centre's row: never counted
		RigaPiano("3001", 1, -50);
		RigaPiano("3001", 3, -70, -3);
	}
	// A model the lookup does not offer for the year is refused as it is typed.
	BOOL Esplodi(const char* modello, int dal, int al, int anno = 2026, bool bOfferto = true)
	{
		FormDriver form = Apri(RUNTIME_CLASS(BDEsplosioneSimboliConti), RUNTIME_CLASS(UIEsplosioneSimboliConti));
		EXPECT_TRUE(form.Type("Esercizio:", CString::Formatted("%d", anno)));
		EXPECT_EQ(form.Type("Modello:", modello) != FALSE, bOfferto);
		EXPECT_TRUE(form.Type("Dal mese:", CString::Formatted("%d", dal)));
		EXPECT_TRUE(form.Type("Al mese:", CString::Formatted("%d", al)));
		const BOOL bOk = form.RunBatch();
		form.Close();
		return bOk;
	}
	// The work rows as "symbol|account|ledger|forecast|adjustment|total|descriptions" in order.
	std::vector<std::string> Righe()
	{
		auto st = m_pConn->Db().Prepare(
			"SELECT Simbolo, Conto, ValoreContabile, ValorePrevisionale, ValoreAssestamento, Totale, DescrizioneConto, "
			"DescrizioneSimbolo, Descrizione, CodRiclassificato, Esercizio, ModelloRiclassific FROM "
			"Kvz_TmpEsplosioneCodici ORDER BY Simbolo, Conto");
		std::vector<std::string> out;
		while (st->Step())
		{
			std::string r = Text(st->Column(0));
			for (int i = 1; i < 10; ++i)
				r.append("|").append(i >= 2 && i < 6 ? Amount(st->Column(i)) : Text(st->Column(i)));
			out.push_back(r.append("|").append(Text(st->Column(10))).append(Text(st->Column(11))));
		}
		return out;
	}
};

TEST_F(EsplosioneSimboliConti, ListsEachAccountWithItsSignedValuesAtAccountLevel)
{
	Dati();
	// Rows of an earlier run, of any model, go.
	Kvz_TmpEsplosioneCodici vecchia;
	vecchia.f_Esercizio = 2025;
	vecchia.f_ModelloRiclassific = "SP";
	vecchia.f_CodRiclassificato = "X";
	vecchia.f_Simbolo = "OLD";
	vecchia.f_Conto = "9";
	Insert(vecchia);

	ASSERT_TRUE(Esplodi("ce", 1, 3));
	EXPECT_EQ(Righe(), (std::vector<std::string>{
						   "COSTI|2001|300.00|10.00|5.00|315.00|Acquisti merci|Costi esterni|Conto economico| |2026CE",
						   "NETTO|2001|-300.00|-10.00|-5.00|-315.00|Acquisti merci|Ricavi meno costi|Conto economico| |2026CE",
						   "NETTO|3001|-120.00|0.00|-3.00|-123.00|Ricavi vendite|Ricavi meno costi|Conto economico| |2026CE",
					   }));
	EXPECT_EQ(m_Ui.ProgressTexts().back(), "Elaborazione terminata.");
	EXPECT_FALSE(m_pConn->IsInTransaction());

	// One month: only its rows count.
	ASSERT_TRUE(Esplodi("CE", 4, 4));
	EXPECT_EQ(Righe()[0], "COSTI|2001|100.00|0.00|0.00|100.00|Acquisti merci|Costi esterni|Conto economico| |2026CE");
	EXPECT_EQ(Righe()[2], "NETTO|3001|0.00|0.00|0.00|0.00|Ricavi vendite|Ricavi meno costi|Conto economico| |2026CE");
}

TEST_F(EsplosioneSimboliConti, AMissingModelOrWrongMonthsAreRefusedBeforeAnyTransaction)
{
	Dati();
	Modello(2025, "VUOTO", "Senza simboli");
	const struct
	{
		const char* modello;
		int dal, al, anno;
		bool bOfferto;
		const char* messaggio;
	} casi[] = {
		{"", 1, 12, 2026, true, "Indicare il modello di riclassificazione."},
		// The lookup offers the models of the year typed: another year's model stays out.
		{"XX", 1, 12, 2026, false, "Indicare il modello di riclassificazione."},
		{"CE", 1, 12, 2025, false, "Indicare il modello di riclassificazione."},
		{"CE", 0, 0, 2026, true, "Mesi errati (dal mese 0 al mese 0)"},
		{"CE", 5, 4, 2026, true, "Mesi errati (dal mese 5 al mese 4)"},
		{"CE", 1, 13, 2026, true, "Mesi errati (dal mese 1 al mese 13)"},
	};
	for (const auto& c : casi)
	{
		SCOPED_TRACE(c.messaggio);
		m_Ui.Clear();
		EXPECT_FALSE(Esplodi(c.modello, c.dal, c.al, c.anno, c.bOfferto));
		EXPECT_TRUE(WasShown(c.messaggio));
		EXPECT_FALSE(m_pConn->IsInTransaction());
	}
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_TmpEsplosioneCodici"), 0);
	// A model whose symbols list no account runs, and says so.
	EXPECT_TRUE(Esplodi("VUOTO", 1, 12, 2025));
	EXPECT_TRUE(WasShown("Nessun conto nei simboli del piano base del modello VUOTO nell'esercizio 2025."));
}

TEST_F(EsplosioneSimboliConti, AbortKeepsTheRowsListedSoFar)
{
	Dati();
	m_Ui.AbortAfterPolls(2);
	EXPECT_TRUE(Esplodi("CE", 1, 12));
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_TmpEsplosioneCodici"), 1);
	EXPECT_EQ(m_Ui.ProgressTexts().back(), "Elaborazione interrotta su richiesta utente.");
	EXPECT_FALSE(m_pConn->IsInTransaction());
}

TEST_F(EsplosioneSimboliConti, AListingOrCommitThatFailsKeepsTheEarlierRowsAndIsNotReportedAsDone)
{
	Dati();
	ASSERT_TRUE(Esplodi("CE", 1, 3));
	const std::vector<std::string> prima = Righe();
	ASSERT_EQ(prima.size(), 3u);
	// A row that cannot be written stops the listing; then a commit that fails undoes it whole.
	for (const bool bCommit : {false, true})
	{
		SCOPED_TRACE(bCommit ? "commit" : "riga");
		if (bCommit)
			CommitFailsAfterInsertInto("Kvz_TmpEsplosioneCodici");
		else
			RefusingTrigger("KvzTestRifiuta", "BEFORE INSERT", "Kvz_TmpEsplosioneCodici", "riga rifiutata");
		m_Ui.Clear();
		m_Ui.SetEcho(false);
		EXPECT_FALSE(Esplodi("CE", 4, 4));
		EXPECT_FALSE(m_pConn->IsInTransaction());
		EXPECT_EQ(Righe(), prima);  // the emptying was undone too
		EXPECT_EQ(m_Ui.ProgressTexts().back(), "Elaborazione non registrata.");
		EXPECT_TRUE(WasShown(bCommit ? CommitFailure() : "riga rifiutata"))
			<< ::testing::PrintToString(Shown());
		EXPECT_TRUE(WasShown("Elaborazione non registrata: l'elenco dei conti dei simboli non è stato salvato"));
		EXPECT_FALSE(WasShown("Elaborazione terminata."));
		if (!bCommit)
			DropTrigger("KvzTestRifiuta", "Kvz_TmpEsplosioneCodici");
	}
}

// The work table the command line left on the company whose symbols it saved: each row's values
// are its account's base-plan values of the year at account level, signed as its list says.
class EsplosioneDaRigaDiComando : public ::testing::Test
{
};

TEST_F(EsplosioneDaRigaDiComando, EachAccountCarriesItsBasePlanValues)
{
	const char* szDb = std::getenv("KVZ_ESPLOSIONE_DB");
	if (!szDb)
		GTEST_SKIP() << "run by the host's test kvz_esplosione_simboli_valori";
	auto pDb = SqlConnection::Open(CString(szDb), SqlConnection::OPEN_EXISTING);
	ASSERT_TRUE(pDb);
	auto numero = [&](const std::string& sql) {
		auto st = pDb->Db().Prepare(sql);
		EXPECT_TRUE(st->Step()) << sql;
		const plv::db::Value v = st->Column(0);
		return std::holds_alternative<double>(v)		 ? std::get<double>(v)
			   : std::holds_alternative<std::int64_t>(v) ? static_cast<double>(std::get<std::int64_t>(v))
														 : 0.0;
	};
	auto st = pDb->Db().Prepare("SELECT Simbolo, Conto, ValoreContabile, Totale FROM Kvz_TmpEsplosioneCodici WHERE "
								"Esercizio = 2026 AND ModelloRiclassific = 'CE' ORDER BY Simbolo, Conto");
	int righe = 0, nonZero = 0;
	while (st->Step())
	{
		const std::string simbolo = std::get<std::string>(st->Column(0));
		const std::string conto = std::get<std::string>(st->Column(1));
		const double contabile = std::get<double>(st->Column(2));
		const double segno = numero("SELECT MAX(SegnoConto & 65535) FROM Kvz_ElencoContiSimboloPBase WHERE Esercizio = "
									"2026 AND ModelloRiclassific = 'CE' AND NomeSimbolo = '" +
									simbolo + "' AND ContoSelez = '" + conto + "'") == 0
								 ? 1.0
								 : -1.0;
		const double piano = numero("SELECT COALESCE(SUM(SaldoContabile), 0) FROM Kvz_PianoBaseR WHERE Esercizio = 2026 "
									"AND ContoKvz = '" +
									conto + "' AND CentroCommessa = '' AND Mese BETWEEN 1 AND 12");
		EXPECT_NEAR(contabile, segno * piano, 0.005) << simbolo << " " << conto;
		++righe;
		nonZero += contabile != 0.0;
	}
	EXPECT_GE(righe, 2);
	EXPECT_GE(nonZero, 1);  // not trivially zero
}

}  // namespace
