// Floor areas per warehouse and month, split over the target models of the warehouse's driver in
// two companies, written into their results as values from outside; and the batch that zeroes
// and writes all of them again.
#include "kvznet/kvzdrivers/kvzappl/BDRicalcolaValoriEsterni.h"
#include "kvznet/kvzdrivers/kvzappl/DKvzMetriQuadri.h"
#include "kvznet/kvzdrivers/kvzappl/tests/KvzApplFixture.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneRighe.h"

namespace {
const char* const kRighe = "KvzMetriQuadriMesi";
constexpr DWORD kEsterno = 0x3AA80008;

class MetriQuadri : public KvzApplLibrary
{
protected:
	void SetUp() override
	{
		KvzApplLibrary::SetUp();
		AfxSetApplicationDate(DataDate(15, 6, 2026));
		Azienda("AZ02", "az02");
		m_pAltra = AltraAzienda("az02.db");
		{
			Kvz_TRiclassificazioneRighe r;
			r.f_Esercizio = 2026;
			r.f_ModelloRiclassific = "MA";
			r.f_CodRiclassificato = "MQ";
			r.f_Posizione = 5;
			r.f_Descrizione = "Metri quadri A";
			Inserisci(r);
			Kvz_TModRiclassRighe_Ext e(m_pAltra.get());
			e.f_Esercizio = 2026;
			e.f_ModelloRiclassific = "MB";
			e.f_CodRiclassificato = "MQ";
			e.f_Posizione = 3;
			e.f_Descrizione = "Metri quadri B";
			Inserisci(e);
		}
		TKvzDriversMagazzini m;
		m.f_CodMagazzino = "MAG1";
		m.f_Descrizione = "Centrale";
		m.f_Nota1 = "Via Roma 1";
		Inserisci(m);
		// An older driver of the same warehouse, inserted first.
		Driver(2025, "D0", {{".", "MX"}});
		Driver(2026, "D1", {{".", "MA"}, {"AZ02", "MB"}});
	}
	void TearDown() override
	{
		m_pAltra.reset();
		KvzApplLibrary::TearDown();
	}
	static void Driver(int anno, const char* codice, std::initializer_list<std::pair<const char*, const char*>> modelli)
	{
		TKvzDriversTesta t;
		t.f_Esercizio = anno;
		t.f_ModelloDrivers = codice;
		t.f_RiclassificazioneDrivers = "MQ";
		t.f_CodMagazzino = "MAG1";
		Inserisci(t);
		for (auto [ditta, modello] : modelli)
		{
			TKvzDriversModelli r;
			r.f_Esercizio = anno;
			r.f_ModelloDrivers = codice;
			r.f_Ditta = ditta;
			r.f_EsercizioRiclassific = anno;
			r.f_ModelloRiclassific = modello;
			Inserisci(r);
		}
	}
	FormDriver ApriMq()
	{
		m_pDoc = Apri<DKvzMetriQuadri>("KvzMetriQuadri");
		EXPECT_NE(m_pDoc, nullptr);
		return FormDriver(m_pDoc);
	}
	// A new head of the warehouse, its rows taken from the driver.
	void Nuovo(FormDriver& form, const char* mese)
	{
		ASSERT_TRUE(form.New());
		ASSERT_TRUE(form.Type("Magazzino", "MAG1")) << form.GetLastError();
		ASSERT_TRUE(form.Type("Mese", mese)) << form.GetLastError();
	}
	static std::string Colonna(const FormDriver& form, const char* colonna)
	{
		std::string s;
		for (int i = 0; i < form.RowCount(kRighe); ++i)
			s += (i ? "," : "") + form.Cell(kRighe, i, colonna).str();
		return s;
	}
	static std::string Esterni(SqlConnection& conn)
	{
		return Query(conn, "SELECT ModelloRiclassific, CodRiclassificato, Mese, Posizione, Descrizione, Valore, TipoRiga "
						   "FROM Kvz_Riclassificato ORDER BY ModelloRiclassific, CodRiclassificato, Mese");
	}

	std::unique_ptr<SqlConnection> m_pAltra;
	DKvzMetriQuadri* m_pDoc = nullptr;
};

TEST_F(MetriQuadri, TheRowsMustMakeTheTotalAndReachTheResultsOfBothCompanies)
{
	FormDriver form = ApriMq();
	Nuovo(form, "0");
	EXPECT_EQ(form.Text("Esercizio"), "2026");
	EXPECT_EQ(form.Text("Codice drivers"), "MQ");
	EXPECT_EQ(form.Text("Descrizione1"), "Via Roma 1");
	EXPECT_EQ(form.Text("KVZMETRIQUADRI_DESCRIMAGAZZINO"), "Centrale");
	EXPECT_EQ(Colonna(form, "Ditta"), ".,AZ02");
	EXPECT_EQ(Colonna(form, "ModelloRiclassific"), "MA,MB");
	ASSERT_TRUE(form.Type("Totale metri quadri", "100"));
	ASSERT_TRUE(form.TypeCell(kRighe, 0, "MetriQuadri", "60"));
	ASSERT_TRUE(form.TypeCell(kRighe, 1, "MetriQuadri", "39.9"));
	EXPECT_EQ(form.Text("Totale inserito"), "99.900");

	struct Caso
	{
		const char* mese;
		const char* b;
		const char* messaggio;
	} casi[] = {{"0", "40", "Mese obbligatorio. Indicare valore da 1 a 12"},
				{"13", "40", "Mese obbligatorio. Indicare valore da 1 a 12"},
				{"3", "39.9", "Totale metri quadri diverso dal totale dei metri quadri inseriti"}};
	for (const Caso& c : casi)
	{
		SCOPED_TRACE(c.mese);
		ASSERT_TRUE(form.Type("Mese", c.mese));
		ASSERT_TRUE(form.TypeCell(kRighe, 1, "MetriQuadri", c.b));
		m_Ui.Clear();
		EXPECT_FALSE(form.Save());
		EXPECT_TRUE(Detto(c.messaggio)) << m_Ui.LastMessage().GetString();
		EXPECT_EQ(form.RowCount(kRighe), 2);
	}
	EXPECT_EQ(Esterni(*m_pConn), "");
	ASSERT_TRUE(form.TypeCell(kRighe, 1, "MetriQuadri", "40"));
	ASSERT_TRUE(form.Save()) << m_Ui.LastMessage().GetString();
	const std::string attesoQui = "MA|MQ|3|5|Metri quadri A|60|" + std::to_string(kEsterno);
	EXPECT_EQ(Esterni(*m_pConn), attesoQui);
	EXPECT_EQ(Esterni(*m_pAltra), "MB|MQ|3|3|Metri quadri B|40|" + std::to_string(kEsterno));

	// Saved again, the same results rows take the new areas.
	ASSERT_TRUE(form.Edit());
	ASSERT_TRUE(form.TypeCell(kRighe, 0, "MetriQuadri", "70"));
	ASSERT_TRUE(form.TypeCell(kRighe, 1, "MetriQuadri", "30"));
	ASSERT_TRUE(form.Type("Totale metri quadri", "100"));
	ASSERT_TRUE(form.Save()) << m_Ui.LastMessage().GetString();
	EXPECT_EQ(Esterni(*m_pConn), "MA|MQ|3|5|Metri quadri A|70|" + std::to_string(kEsterno));
	EXPECT_EQ(Esterni(*m_pAltra), "MB|MQ|3|3|Metri quadri B|30|" + std::to_string(kEsterno));
}

TEST_F(MetriQuadri, ThePreviousMonthIsLoadedAndRowsLeftOutOfTheDriverAreZeroed)
{
	FormDriver form = ApriMq();
	Nuovo(form, "1");
	m_Ui.Clear();
	ASSERT_TRUE(form.Press("&Carica mese prec."));
	EXPECT_TRUE(Detto("Mese errato.")) << m_Ui.LastMessage().GetString();
	ASSERT_TRUE(form.Type("Totale metri quadri", "100"));
	ASSERT_TRUE(form.TypeCell(kRighe, 0, "MetriQuadri", "75"));
	ASSERT_TRUE(form.TypeCell(kRighe, 1, "MetriQuadri", "25"));
	ASSERT_TRUE(form.Save()) << m_Ui.LastMessage().GetString();

	// MB leaves the driver: February takes January's areas, MB's zeroed.
	ASSERT_EQ(m_pConn->Db().Prepare("DELETE FROM KvzDriversModelli WHERE ModelloRiclassific = 'MB'")->Step(), false);
	Nuovo(form, "2");
	ASSERT_TRUE(form.Press("&Carica mese prec.")) << form.GetLastError();
	EXPECT_EQ(Colonna(form, "ModelloRiclassific"), "MA,MB");
	EXPECT_EQ(Colonna(form, "MetriQuadri"), "75.000,0.000");
	EXPECT_EQ(form.Text("Totale inserito"), "75.000");
	ASSERT_TRUE(form.Type("Totale metri quadri", "75"));
	ASSERT_TRUE(form.Save()) << m_Ui.LastMessage().GetString();
	EXPECT_EQ(Query("SELECT Mese, ModelloRiclassific, MetriQuadri FROM KvzMetriQuadriMesi ORDER BY Mese, Ditta"),
			  "1|MA|75;1|MB|25;2|MA|75;2|MB|0");
}

// Of several heads naming the warehouse, the one of the head's year, else of the latest year;
// the lowest code among equals.
TEST_F(MetriQuadri, TheWarehousesDriverIsChosenWhateverTheOrderOfTheRows)
{
	Driver(2024, "A9", {});
	Driver(2026, "C1", {});
	FormDriver form = ApriMq();
	Nuovo(form, "3");
	struct Caso
	{
		const char* anno;
		const char* driver;
	} casi[] = {{"2026", "C1"}, {"2025", "D0"}, {"2024", "A9"}, {"2027", "C1"}};
	for (const Caso& c : casi)
	{
		ASSERT_TRUE(form.Type("Esercizio", c.anno));
		EXPECT_EQ(form.Text("Esercizio"), c.anno);
		EXPECT_EQ(m_pDoc->DriverDelMagazzino().GetString(), c.driver) << c.anno;
	}
}

class ValoriEsterni : public MetriQuadri
{
protected:
	// A results row of a kind, with a value.
	template <class Rec>
	static void Risultato(Rec& r, const char* modello, const char* codice, int mese, double valore, DWORD tipo)
	{
		r.f_Esercizio = 2026;
		r.f_Mese = mese;
		r.f_ModelloRiclassific = modello;
		r.f_CodRiclassificato = codice;
		r.f_Valore = valore;
		r.f_Posizione = 1;
		r.f_TipoRiga = decltype(r.f_TipoRiga)(tipo);
		r.f_TipoDatoPianoBase = decltype(r.f_TipoDatoPianoBase)(0x3AAA0000);
		Inserisci(r);
	}
	static void Area(const char* ditta, const char* modello, int mese, double mq, bool testa = true)
	{
		if (testa)
		{
			TKvzMetriQuadriTesta t;
			t.f_Esercizio = 2026;
			t.f_CodMagazzino = "MAG1";
			t.f_Mese = mese;
			t.f_CodiceDrivers = "MQ";
			Inserisci(t);
		}
		TKvzMetriQuadriMesi r;
		r.f_Esercizio = 2026;
		r.f_CodMagazzino = "MAG1";
		r.f_Mese = mese;
		r.f_Anno = 2026;
		r.f_Ditta = ditta;
		r.f_ModelloRiclassific = modello;
		r.f_MetriQuadri = mq;
		Inserisci(r);
	}
};

// Over this company and another, each reached through the register: every value from outside
// zeroed, then the areas written again; a company that cannot be reached gets nothing.
TEST_F(ValoriEsterni, EveryValueFromOutsideIsZeroedAndTheAreasWrittenAgain)
{
	Azienda("QUI", "azienda");  // this company, also through the register
	Azienda("ROTTA", "manca");
	{
		Kvz_TRiclassificato a, b, c;
		Risultato(a, "MA", "MQ", 4, 11, kEsterno);
		Risultato(b, "MA", "VECCHIO", 4, 12, kEsterno);
		Risultato(c, "MA", "ALTRO", 4, 13, 0x3AA80000);
		Kvz_TRiclassificato_Ext d(m_pAltra.get()), e(m_pAltra.get());
		Risultato(d, "MB", "VECCHIO", 1, 14, kEsterno);
		Risultato(e, "MB", "MQ", 4, 15, 0x3AA80002);  // another kind: it becomes a value from outside
	}
	Area(".", "MA", 4, 60);
	Area("AZ02", "MB", 4, 40, false);
	Area("ROTTA", "MZ", 4, 5, false);
	Area("", "MA", 5, 8);
	Area(".", "MA", 6, 9, false);  // no head for June: nothing written

	auto* pDoc = Apri<BDRicalcolaValoriEsterni>("BDRicalcolaValoriEsterni");
	ASSERT_NE(pDoc, nullptr);
	FormDriver form(pDoc);
	m_Ui.Clear();
	ASSERT_TRUE(form.RunBatch()) << form.GetLastError();
	EXPECT_EQ(form.Text("RICOSTR_STATO_ELAB"), "Elaborazione terminata.");
	// Said once in the run, though both the reset and the carry reach for ROTTA.
	int nDetto = 0;
	for (const ShownMessage& m : m_Ui.Messages())
		nDetto += m.text == "Connessione al database esterno ROTTA fallita." ? 1 : 0;
	EXPECT_EQ(nDetto, 1);
	const std::string k8 = std::to_string(kEsterno);
	EXPECT_EQ(Query("SELECT CodRiclassificato, Mese, Valore, TipoRiga FROM Kvz_Riclassificato ORDER BY 1, 2"),
			  "ALTRO|4|13|" + std::to_string(0x3AA80000) + ";MQ|4|60|" + k8 + ";MQ|5|8|" + k8 + ";VECCHIO|4|0|" + k8);
	EXPECT_EQ(Query(*m_pAltra, "SELECT CodRiclassificato, Mese, Valore, TipoRiga FROM Kvz_Riclassificato ORDER BY 1, 2"),
			  "MQ|4|40|" + k8 + ";VECCHIO|1|0|" + k8);
	// The unreachable company's database was never made.
	EXPECT_FALSE(std::filesystem::exists(m_Folder / "manca.db"));
}

}  // namespace
