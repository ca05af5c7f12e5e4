// The base-plan document driven as a user drives its form: new headers with their id and number,
// the month rows, the checks at saving, search and browsing.
#include <string>
#include <variant>
#include <vector>

#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCentriCommesseContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseRigaDett.h"
#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_CPianoBaseDoc.h"
#include "kvznet/kvzmod/kvzdocuments/tests/KvzDocumentsFixture.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvges/FormDriver.h"
#include "platform/plvoledb/driver/Driver.h"

namespace {

const char* const kRighe = "Righe piano base";

class PianoBaseDoc : public KvzDocumentsLibrary
{
protected:
	void SetUp() override
	{
		KvzDocumentsLibrary::SetUp();
		AfxSetApplicationDate(DataDate(15, 3, 2026));
		for (int anno : {2025, 2026})
		{
			Conto(anno, "3001", "Ricavi", 4);
			Conto(anno, "4001", "Costi", 3);
		}
		CdcComm(2026, "4001", "PRD", "Produzione", 0);
		CdcComm(2026, "4001", "J01", "Commessa uno", 1);
		CdcComm(2026, "3001", "VEN", "Vendite", 0);
	}

	void Conto(int anno, const char* conto, const char* descrizione, WORD mastro)
	{
		Kvz_TAnagContiKvz c;
		c.f_Esercizio = anno;
		c.f_ContoKvz = conto;
		c.f_Descrizione = descrizione;
		c.f_TipoMastro = DataEnum(E_TIPOMASTRO, mastro);
		Inserisci(c);
	}
	void CdcComm(int anno, const char* conto, const char* codice, const char* descrizione, WORD tipo)
	{
		Kvz_TCentriCommesseContiKvz c;
		c.f_Esercizio = anno;
		c.f_ContoKvz = conto;
		c.f_CentroCommessa = codice;
		c.f_Descrizione = descrizione;
		c.f_Tipo = DataEnum(E_KVZ_TIPOCENTROCOMM, tipo);
		Inserisci(c);
	}

	FormDriver Apri()
	{
		auto* pDoc = Open<Kvz_CPianoBaseDoc>("DPianoBase");
		EXPECT_NE(pDoc, nullptr);
		return FormDriver(pDoc);
	}
	// A new header of the account with one row per amount (months as proposed).
	static void Nuovo(FormDriver& form, const char* conto, std::vector<const char*> saldi = {}, const char* cdc = nullptr)
	{
		ASSERT_TRUE(form.New());
		ASSERT_TRUE(form.Type("Conto raggruppato", conto)) << form.GetLastError();
		if (cdc)
		{
			ASSERT_TRUE(form.Type("Centro/commessa", cdc)) << form.GetLastError();
		}
		for (const char* saldo : saldi)
		{
			ASSERT_TRUE(form.AddRow(kRighe));
			ASSERT_TRUE(form.TypeCell(kRighe, form.RowCount(kRighe) - 1, "SaldoContabile", saldo));
		}
	}

	std::vector<std::pair<int, double>> MesiSalvati(long id)
	{
		std::vector<std::pair<int, double>> mesi;
		Kvz_TPianoBaseRighe r;
		SqlTable t(&r);
		t.Open(FALSE);
		t.SelectAll();
		t.AddParam("p1", r.f_IDPianoBase);
		t.AddFilterColumn(r.f_IDPianoBase);
		t.AddSortColumn(r.f_Mese);
		t.SetParamValue("p1", DataLng(id));
		for (t.Query(); !t.IsEOF(); t.MoveNext())
			mesi.emplace_back(int(r.f_Mese), double(r.f_SaldoContabile));
		return mesi;
	}
	Kvz_TPianoBaseTesta* Testa(FormDriver& form)
	{
		return static_cast<Kvz_CPianoBaseDoc*>(form.GetDocument())->GetPianoBaseTesta();
	}
};

TEST_F(PianoBaseDoc, ANewPlanTakesItsIdAndNumberAndProposesTwelveMonths)
{
	FormDriver form = Apri();
	ASSERT_TRUE(form.New());
	EXPECT_EQ(Testa(form)->f_IDPianoBase, 1);
	EXPECT_EQ(form.Text("Nr.assegnato"), "00000001");
	EXPECT_FALSE(form.IsEditable("Nr.assegnato"));
	EXPECT_EQ(form.Text("Esercizio"), "2026");
	EXPECT_EQ(form.Text("Data creazione"), "15/03/2026");
	EXPECT_EQ(form.Text("Ultima modifica"), "15/03/2026");
	EXPECT_TRUE(Testa(form)->f_InseritoAMano);
	ASSERT_TRUE(form.Type("Conto raggruppato", "4001"));
	EXPECT_EQ(form.Text("PBASE_CONTO_DESCRI"), "Costi");

	for (int i = 0; i < 13; ++i)
		ASSERT_TRUE(form.AddRow(kRighe));
	for (int i = 0; i < 12; ++i)
		EXPECT_EQ(form.Cell(kRighe, i, "Mese"), CString::Formatted("%d", i + 1)) << i;
	// After December the user types the month.
	EXPECT_TRUE(static_cast<Kvz_CPianoBaseDoc*>(form.GetDocument())->m_pDBTPianoBaseRighe->GetPianoBaseRiga(12)->f_Mese.IsEmpty());

	EXPECT_FALSE(form.Save());
	EXPECT_EQ(m_Ui.LastMessage(), "Il mese alla riga 13 non e' valido.");
	EXPECT_EQ(form.Mode(), CBaseDocument::NEW);
	EXPECT_EQ(form.RowCount(kRighe), 13);  // as the user left them
	EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_PianoBaseT"), 0);

	ASSERT_TRUE(form.DeleteRow(kRighe, 12));
	ASSERT_TRUE(form.TypeCell(kRighe, 2, "SaldoContabile", "250,5"));
	ASSERT_TRUE(form.Save()) << m_Ui.LastMessage();
	EXPECT_EQ(MesiSalvati(1).size(), 12u);
	// The run reads the months by year, account and cost centre/job, and their adjusted total.
	EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_PianoBaseR WHERE IDPianoBase = 1 AND Esercizio = 2026 AND "
					 "ContoKvz = '4001' AND CentroCommessa = '' AND TipoMastro = 658702339"),
			  12);
	EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_PianoBaseR WHERE Mese = 3 AND TotaleAssestato = 250.5"), 1);

	// A header started and abandoned leaves a gap in both series.
	ASSERT_TRUE(form.New());
	ASSERT_TRUE(form.Escape());
	ASSERT_TRUE(form.New());
	EXPECT_EQ(Testa(form)->f_IDPianoBase, 3);
	EXPECT_EQ(form.Text("Nr.assegnato"), "00000003");
	EXPECT_TRUE(form.Close());
}

TEST_F(PianoBaseDoc, AHeaderWithoutAnIdIsNeverSaved)
{
	m_pConn->ExecuteSQL("DROP TABLE Kvz_IDDocumenti");  // no counter can be taken
	FormDriver form = Apri();
	Nuovo(form, "4001", {"10"});
	EXPECT_EQ(form.Text("Nr.assegnato"), "");
	EXPECT_EQ(form.Text("Data creazione"), "");
	m_Ui.Clear();
	EXPECT_FALSE(form.Save());
	EXPECT_EQ(m_Ui.LastMessage(), "Il piano base non ha un identificativo: ripetere l'inserimento.");
	EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_PianoBaseT") + Numero("SELECT COUNT(*) FROM Kvz_PianoBaseR"), 0);
}

TEST_F(PianoBaseDoc, TheMonthsAreCheckedBeforeSaving)
{
	const struct
	{
		std::vector<const char*> mesi;  // typed over the proposed months
		const char* messaggio;          // null: saved
		std::vector<int> salvati;
	} casi[] = {
		{{"1", "0", "3"}, "Il mese alla riga 2 non e' valido.", {}},
		{{"13"}, "Il mese alla riga 1 non e' valido.", {}},
		{{"1", "2", "4"}, nullptr, {1, 2, 4}},
		{{}, nullptr, {}},  // a header without rows
	};
	FormDriver form = Apri();
	for (const auto& c : casi)
	{
		SCOPED_TRACE(c.mesi.size());
		Nuovo(form, "3001");
		for (const char* mese : c.mesi)
		{
			ASSERT_TRUE(form.AddRow(kRighe));
			ASSERT_TRUE(form.TypeCell(kRighe, form.RowCount(kRighe) - 1, "Mese", mese));
		}
		m_Ui.Clear();
		if (c.messaggio)
		{
			EXPECT_FALSE(form.Save());
			EXPECT_EQ(m_Ui.LastMessage(), c.messaggio);
			ASSERT_TRUE(form.Escape());
			continue;
		}
		ASSERT_TRUE(form.Save()) << m_Ui.LastMessage();
		std::vector<int> salvati;
		for (auto [mese, saldo] : MesiSalvati(Testa(form)->f_IDPianoBase))
			salvati.push_back(mese);
		EXPECT_EQ(salvati, c.salvati);
		// One plan per account and year: the next case starts from none.
		ASSERT_TRUE(form.Delete());
	}
	EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_PianoBaseT"), 0);
}

TEST_F(PianoBaseDoc, TheHeaderNamesAnAccountItsCostCentreOrJobOnceAYear)
{
	FormDriver form = Apri();
	Nuovo(form, "4001", {"10"}, "J01");
	EXPECT_EQ(form.Text("PBASE_CONTO_DES_CDC_COMM"), "Commessa uno");
	// Another account: its cost centres and jobs only.
	ASSERT_TRUE(form.Type("Conto raggruppato", "3001"));
	EXPECT_EQ(form.Text("Centro/commessa"), "");
	EXPECT_EQ(form.Text("PBASE_CONTO_DES_CDC_COMM"), "");
	EXPECT_FALSE(form.Type("Centro/commessa", "J01"));
	ASSERT_TRUE(form.Type("Conto raggruppato", "4001"));
	ASSERT_TRUE(form.Type("Centro/commessa", "J01"));
	ASSERT_TRUE(form.Save()) << m_Ui.LastMessage();
	// A job's plan is read as a job's.
	EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_PianoBaseT WHERE CentroCommessa = 'J01' AND TipoCentroComm = 983629825"), 1);
	EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_PianoBaseR WHERE CentroCommessa = 'J01' AND TipoCentroComm = 983629825"), 1);

	const struct
	{
		const char* conto;
		const char* cdc;
		const char* anno;
		const char* messaggio;
	} rifiutati[] = {
		{"4001", "J01", nullptr, "Esiste gia' il piano base nr. 00000001 per 4001 J01 nell'esercizio 2026."},
		{"", nullptr, nullptr, "Indicare il conto raggruppato."},
		// The year changed after the account: the account is not the new year's.
		{"3001", "VEN", "2024", "Il conto raggruppato 3001 non esiste nell'esercizio 2024."},
	};
	for (const auto& r : rifiutati)
	{
		SCOPED_TRACE(r.messaggio);
		ASSERT_TRUE(form.New());
		if (*r.conto)
		{
			ASSERT_TRUE(form.Type("Conto raggruppato", r.conto));
		}
		if (r.cdc)
		{
			ASSERT_TRUE(form.Type("Centro/commessa", r.cdc));
		}
		if (r.anno)
		{
			ASSERT_TRUE(form.Type("Esercizio", r.anno));
		}
		m_Ui.Clear();
		EXPECT_FALSE(form.Save());
		EXPECT_EQ(m_Ui.LastMessage(), r.messaggio);
		ASSERT_TRUE(form.Escape());
	}
	EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_PianoBaseT"), 1);
}

TEST_F(PianoBaseDoc, EditingKeepsAdjustmentsAndAMonthOrPlanRemovedTakesItsDetailLines)
{
	FormDriver form = Apri();
	Nuovo(form, "4001", {"100", "200", "300"}, "PRD");
	ASSERT_TRUE(form.Save()) << m_Ui.LastMessage();
	const long id = Testa(form)->f_IDPianoBase;
	// Adjustments kept by the adjustments document, with their detail lines.
	m_pConn->ExecuteSQL("UPDATE Kvz_PianoBaseR SET ImportoRateo = 5, TotaleAssestato = SaldoContabile + 5");
	for (int mese : {2, 3})
	{
		Kvz_TPianoBaseRigaDett d;
		d.f_IDPianoBase = id;
		d.f_Mese = mese;
		d.f_Riga = 1;
		d.f_ImportoRateoDett = 5;
		Inserisci(d);
	}

	AfxSetApplicationDate(DataDate(20, 4, 2026));
	ASSERT_TRUE(form.Edit());
	EXPECT_EQ(form.Text("Ultima modifica"), "20/04/2026");
	ASSERT_TRUE(form.TypeCell(kRighe, 0, "SaldoContabile", "150"));
	ASSERT_TRUE(form.DeleteRow(kRighe, 2));
	ASSERT_TRUE(form.Save()) << m_Ui.LastMessage();
	EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_PianoBaseR WHERE Mese = 1 AND ImportoRateo = 5 AND TotaleAssestato = 155"), 1);
	EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_PianoBaseRDett WHERE Mese = 2"), 1);
	EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_PianoBaseRDett WHERE Mese = 3"), 0);
	EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_PianoBaseT WHERE DataUltModifica = '2026-04-20' AND "
					 "DataCreazione = '2026-03-15'"),
			  1);

	FormDriver::Answer(IDYES);
	ASSERT_TRUE(form.Delete());
	EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_PianoBaseR") + Numero("SELECT COUNT(*) FROM Kvz_PianoBaseRDett"), 0);
}

TEST_F(PianoBaseDoc, FindsByAccountAndYearAndBrowsesInIdOrder)
{
	FormDriver form = Apri();
	const struct
	{
		const char* anno;
		const char* conto;
		const char* saldo;
	} piani[] = {{"2026", "3001", "1"}, {"2025", "3001", "2"}, {"2026", "4001", "3"}, {"2025", "4001", "4"}};
	for (const auto& p : piani)
	{
		ASSERT_TRUE(form.New());
		ASSERT_TRUE(form.Type("Esercizio", p.anno));
		ASSERT_TRUE(form.Type("Conto raggruppato", p.conto));
		ASSERT_TRUE(form.AddRow(kRighe));
		ASSERT_TRUE(form.TypeCell(kRighe, 0, "SaldoContabile", p.saldo));
		ASSERT_TRUE(form.Save()) << m_Ui.LastMessage();
	}

	ASSERT_TRUE(form.Find());
	EXPECT_TRUE(form.IsEditable("Conto raggruppato"));
	EXPECT_TRUE(form.IsEditable("Esercizio"));
	EXPECT_FALSE(form.IsEditable("Descrizione"));
	ASSERT_TRUE(form.Type("Esercizio", "2025"));
	ASSERT_TRUE(form.Type("Conto raggruppato", "4001"));
	ASSERT_TRUE(form.Save());
	EXPECT_EQ(form.Text("Nr.assegnato"), "00000004");
	EXPECT_EQ(form.Text("PBASE_CONTO_DESCRI"), "Costi");
	EXPECT_EQ(form.Cell(kRighe, 0, "SaldoContabile"), "4.00");
	// Leaving a new search: browsing walks every plan again.
	ASSERT_TRUE(form.Find());
	ASSERT_TRUE(form.Escape());
	ASSERT_TRUE(form.First());
	std::vector<CString> numeri{form.Text("Nr.assegnato")};
	while (form.Next())
		numeri.push_back(form.Text("Nr.assegnato"));
	EXPECT_EQ(numeri, (std::vector<CString>{"00000001", "00000002", "00000003", "00000004"}));
	EXPECT_EQ(form.Text("Esercizio"), "2025");
	EXPECT_EQ(form.Cell(kRighe, 0, "Mese"), "1");
}

}  // namespace
