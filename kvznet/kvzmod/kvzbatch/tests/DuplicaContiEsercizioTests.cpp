#include "kvznet/kvzmod/kvzbatch/DuplicaContiEsercizio.h"
#include "kvznet/kvzmod/kvzbatch/tests/BatchFixture.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCentriCommesseContiKvz.h"

namespace {

class DuplicaContiEsercizio : public BatchTest
{
protected:
	void Conto(int anno, const char* codice, const char* descr, const char* collegato = "")
	{
		Kvz_TAnagContiKvz c;
		c.f_Esercizio = anno;
		c.f_ContoKvz = codice;
		c.f_Descrizione = descr;
		c.f_ContoCollegato = collegato;
		c.f_InversioneSegno = TRUE;
		c.f_CodiceBudget = "B7";
		Insert(c);
	}
	void Centro(int anno, const char* conto, const char* centro, WORD tipo, double perc)
	{
		Kvz_TCentriCommesseContiKvz r;
		r.f_Esercizio = anno;
		r.f_ContoKvz = conto;
		r.f_CentroCommessa = centro;
		r.f_Tipo = DataEnum(E_KVZ_TIPOCENTROCOMM, tipo);
		r.f_PercRipartizione = perc;
		Insert(r);
	}
	// Runs the duplication as the user would; nullopt years keep the form's proposal.
	BOOL Duplica(std::optional<int> da, std::optional<int> a, bool bAncheCentri = true)
	{
		FormDriver form = Apri(RUNTIME_CLASS(Kvz_CDuplicaContiEsercizioDoc), RUNTIME_CLASS(Kvz_CDuplicaContiEsercizioView));
		if (da)
		{
			EXPECT_TRUE(form.Type("Duplicare il piano dei conti a partire dall'esercizio:", CString::Formatted("%d", *da)));
		}
		if (a)
		{
			EXPECT_TRUE(form.Type("nel nuovo esercizio:", CString::Formatted("%d", *a)));
		}
		if (!bAncheCentri)
		{
			EXPECT_TRUE(form.Press("Anche commesse e centri di costo"));
		}
		return form.RunBatch();
	}
	// Every row of a year, as "code|description|linked|sign|budget" in code order.
	std::string Conti(int anno)
	{
		return Joined("SELECT ContoKvz, Descrizione, ContoCollegato, InversioneSegno, CodiceBudget FROM Kvz_AnagConti "
					  "WHERE Esercizio = " +
						  std::to_string(anno) + " ORDER BY ContoKvz",
					  "|");
	}
	std::string Centri(int anno)
	{
		return Joined("SELECT ContoKvz, CentroCommessa, Tipo & 65535, CAST(PercRipartizione AS INTEGER) FROM "
					  "Kvz_CentriCommPianoConti WHERE Esercizio = " +
						  std::to_string(anno) + " ORDER BY ContoKvz, CentroCommessa, Tipo",
					  "/");
	}
	void Anno2026()
	{
		Conto(2026, "2001", "Acquisti", "0101");
		Conto(2026, "3001", "Ricavi", "0201");
		Centro(2026, "2001", "C1", 0, 60);
		Centro(2026, "2001", "C2", 0, 40);
		Centro(2026, "2001", "J1", 1, 100);
	}
};

TEST_F(DuplicaContiEsercizio, OntoAnEmptyYearWithSplitsAndTheProposedYears)
{
	Anno2026();
	// The form proposes the application date's year and the next one.
	ASSERT_TRUE(Duplica(std::nullopt, std::nullopt));
	EXPECT_EQ(Conti(2027), "2001|Acquisti|0101|1|B7 3001|Ricavi|0201|1|B7");
	EXPECT_EQ(Centri(2027), "2001/C1/0/60 2001/C2/0/40 2001/J1/1/100");
	EXPECT_EQ(Conti(2026), "2001|Acquisti|0101|1|B7 3001|Ricavi|0201|1|B7");  // the source stays
	EXPECT_EQ(m_Ui.ProgressTexts().back(), "Elaborazione terminata. Inseriti 2 conti.");
	EXPECT_FALSE(m_pConn->IsInTransaction());
}

TEST_F(DuplicaContiEsercizio, OntoAFilledYearOverwritesAddsAndLeavesTheOthers)
{
	Anno2026();
	Conto(2027, "2001", "Vecchia descrizione", "0999");  // overwritten
	Conto(2027, "4001", "Solo nel 2027");                 // left as it is
	Centro(2027, "2001", "C1", 0, 10);
	Centro(2027, "2001", "C9", 0, 90);
	ASSERT_TRUE(Duplica(2026, 2027));
	const std::string atteso = "2001|Acquisti|0101|1|B7 3001|Ricavi|0201|1|B7 4001|Solo nel 2027||1|B7";
	EXPECT_EQ(Conti(2027), atteso);
	EXPECT_EQ(Centri(2027), "2001/C1/0/60 2001/C2/0/40 2001/C9/0/90 2001/J1/1/100");
	EXPECT_EQ(m_Ui.ProgressTexts().back(), "Elaborazione terminata. Inseriti 2 conti.");
	// A second run gives the same rows: nothing doubled.
	ASSERT_TRUE(Duplica(2026, 2027));
	EXPECT_EQ(Conti(2027), atteso);
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_CentriCommPianoConti WHERE Esercizio = 2027"), 4);
	EXPECT_EQ(m_Ui.ProgressTexts().back(), "Elaborazione terminata. Inseriti 2 conti.");
}

TEST_F(DuplicaContiEsercizio, SplitsOnlyWithTheCheckBoxAndOntoItselfNothingChanges)
{
	Anno2026();
	ASSERT_TRUE(Duplica(2026, 2028, false));
	EXPECT_EQ(Conti(2028), "2001|Acquisti|0101|1|B7 3001|Ricavi|0201|1|B7");
	EXPECT_EQ(Centri(2028), "");

	ASSERT_TRUE(Duplica(2026, 2026));
	EXPECT_EQ(Conti(2026), "2001|Acquisti|0101|1|B7 3001|Ricavi|0201|1|B7");
	EXPECT_EQ(Centri(2026), "2001/C1/0/60 2001/C2/0/40 2001/J1/1/100");
	EXPECT_EQ(m_Ui.ProgressTexts().back(), "Elaborazione terminata. Inseriti 2 conti.");
}

TEST_F(DuplicaContiEsercizio, AMissingOrWrongYearIsRefusedWithNoTransactionLeftOpen)
{
	Anno2026();
	const struct
	{
		int da, a;
		const char* messaggio;
	} casi[] = {
		{2026, 0, "Indicare l'esercizio di destinazione."},
		{0, 2027, "Indicare l'esercizio di origine."},
	};
	for (const auto& c : casi)
	{
		SCOPED_TRACE(c.messaggio);
		EXPECT_FALSE(Duplica(c.da, c.a));
		EXPECT_TRUE(WasShown(c.messaggio));
		EXPECT_FALSE(m_pConn->IsInTransaction());
	}
	// A year no date of the application can have is refused as it is typed.
	{
		FormDriver form = Apri(RUNTIME_CLASS(Kvz_CDuplicaContiEsercizioDoc), RUNTIME_CLASS(Kvz_CDuplicaContiEsercizioView));
		EXPECT_FALSE(form.Type("nel nuovo esercizio:", "20270"));
		EXPECT_EQ(form.GetLastError(), CString("nel nuovo esercizio: l'anno 20270 non è valido (da 1900 a 9999)."));
	}
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_AnagConti WHERE Esercizio <> 2026"), 0);

	// A year without accounts runs, and says there was nothing to copy.
	EXPECT_TRUE(Duplica(2019, 2027));
	EXPECT_TRUE(WasShown("Nessun conto raggruppato nell'esercizio 2019: nulla da duplicare."));
	EXPECT_EQ(m_Ui.ProgressTexts().back(), "Elaborazione terminata. Inseriti 0 conti.");
}

TEST_F(DuplicaContiEsercizio, AbortKeepsWhatWasCopiedAndSaysSo)
{
	Anno2026();
	m_Ui.AbortAfterPolls(2);
	EXPECT_TRUE(Duplica(2026, 2027));
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_AnagConti WHERE Esercizio = 2027"), 1);
	EXPECT_EQ(m_Ui.ProgressTexts().back(), "Elaborazione interrotta su richiesta utente.");
	EXPECT_FALSE(m_pConn->IsInTransaction());
}

}  // namespace
