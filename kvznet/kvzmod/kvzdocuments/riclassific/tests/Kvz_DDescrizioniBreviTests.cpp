// The short descriptions driven through their grid: loaded by code with each model's
// description, saved by rewriting the table, all or nothing.
#include "kvznet/kvzmod/kvzdbl/Kvz_TDescrizioniBrevi.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneTesta.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/Kvz_DDescrizioniBrevi.h"
#include "kvznet/kvzmod/kvzdocuments/tests/KvzDocumentsFixture.h"
#include "platform/erp/erpsetup/CompanySetup.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvges/FormDriver.h"
#include "platform/plvoledb/driver/Driver.h"

namespace {
const char* const kGrid = "Descrizioni brevi";

class DescrizioniBrevi : public KvzDocumentsLibrary
{
protected:
	void SetUp() override
	{
		KvzDocumentsLibrary::SetUp();
		erp::SetupCompanyDatabase(*m_pConn);
		m_DataPrecedente = AfxGetApplicationDate();
		AfxSetApplicationDate(DataDate(1, 6, 2026));
	}
	void TearDown() override
	{
		AfxSetApplicationDate(m_DataPrecedente);
		KvzDocumentsLibrary::TearDown();
	}
	DataDate m_DataPrecedente;

	void Sql(const CString& sql) { m_pConn->ExecuteSQL(sql); }
	// Each stored row as "code model selected description", by code.
	std::vector<std::string> Tabella()
	{
		std::vector<std::string> righe;
		auto st = m_pConn->Db().Prepare(
			"SELECT CodRiclassificato, ModelloPerVisDescr, Selezionata, DescrizioneBreve FROM Kvz_DescrizioniBrevi "
			"ORDER BY CodRiclassificato");
		while (st->Step())
		{
			std::string riga;
			for (int i = 0; i < 4; ++i)
			{
				DataStr s;
				s.SetDataValue(st->Column(i));
				if (i)
					riga += ' ';
				riga += s.GetString().str();
			}
			righe.push_back(riga);
		}
		return righe;
	}
	void RigaModello(int esercizio, const char* modello, const char* codice, const char* descrizione)
	{
		Kvz_TRiclassificazioneRighe rec;
		SqlTable t(&rec);
		t.Open(TRUE);
		t.AddNew();
		rec.f_Esercizio = esercizio;
		rec.f_ModelloRiclassific = modello;
		rec.f_CodRiclassificato = codice;
		rec.f_Descrizione = descrizione;
		t.Update();
	}
	void Modello(const char* modello)
	{
		Kvz_TRiclassificazioneTesta rec;
		SqlTable t(&rec);
		t.Open(TRUE);
		t.AddNew();
		rec.f_Esercizio = 2026;
		rec.f_ModelloRiclassific = modello;
		t.Update();
	}
	FormDriver Apri()
	{
		auto* pDoc = Open<Kvz_DDescrizioniBrevi>("DDescrizioniBrevi");
		EXPECT_NE(pDoc, nullptr);
		return FormDriver(pDoc);
	}
	static std::vector<std::string> Griglia(const FormDriver& form)
	{
		std::vector<std::string> righe;
		for (int i = 0; i < form.RowCount(kGrid); ++i)
			righe.push_back((form.Cell(kGrid, i, "Codice") + " " + form.Cell(kGrid, i, "Modello") + " " +
							 form.Cell(kGrid, i, "Descrizione modello"))
								.str());
		return righe;
	}
	void Scrivi(FormDriver& form, const char* codice, const char* descrizione)
	{
		ASSERT_TRUE(form.AddRow(kGrid)) << form.GetLastError();
		const int riga = form.RowCount(kGrid) - 1;
		ASSERT_TRUE(form.TypeCell(kGrid, riga, "Codice", codice)) << form.GetLastError();
		ASSERT_TRUE(form.TypeCell(kGrid, riga, "Descrizione breve", descrizione)) << form.GetLastError();
	}
	std::vector<CString> Mostrati() const
	{
		std::vector<CString> testi;
		for (auto& m : m_Ui.Messages())
			testi.push_back(m.text);
		return testi;
	}
};
}  // namespace

TEST_F(DescrizioniBrevi, LoadsByCodeWithTheLatestDescriptionOfEachRowsModel)
{
	Modello("CE");
	Modello("SP");
	RigaModello(2025, "CE", "R1", "Ricavi 2025");
	RigaModello(2026, "CE", "R1", "Ricavi");
	RigaModello(2024, "CE", "R1", "Ricavi 2024");
	RigaModello(2026, "SP", "R1", "Attivo");
	RigaModello(2026, "CE", "R2", "Costi");
	Sql("INSERT INTO Kvz_DescrizioniBrevi VALUES ('R3', 'Altro', 0, 'CE'), ('R1', 'Ric.', 1, 'CE'), "
		"('R2', 'Cst.', 0, '')");
	FormDriver form = Apri();
	EXPECT_EQ(Griglia(form), (std::vector<std::string>{"R1 CE Ricavi", "R2  ", "R3 CE "}));
	EXPECT_EQ(form.Cell(kGrid, 0, "Sel."), "Si");
	EXPECT_FALSE(form.IsCellEditable(kGrid, 0, "Descrizione modello"));

	// Another model for the row: its description, or none when the model lacks the code.
	ASSERT_TRUE(form.TypeCell(kGrid, 0, "Modello", "SP")) << form.GetLastError();
	EXPECT_EQ(form.Cell(kGrid, 0, "Descrizione modello"), "Attivo");
	ASSERT_TRUE(form.TypeCell(kGrid, 1, "Modello", "SP"));
	EXPECT_EQ(form.Cell(kGrid, 1, "Descrizione modello"), "");
	ASSERT_TRUE(form.TypeCell(kGrid, 1, "Modello", "CE"));
	EXPECT_EQ(form.Cell(kGrid, 1, "Descrizione modello"), "Costi");
	// The lookup refuses a model that does not exist.
	EXPECT_FALSE(form.TypeCell(kGrid, 1, "Modello", "NESSUNO"));
	EXPECT_EQ(form.Cell(kGrid, 1, "Modello"), "CE");
}

TEST_F(DescrizioniBrevi, SavingRewritesTheTableAsTheGridHoldsIt)
{
	Sql("INSERT INTO Kvz_DescrizioniBrevi VALUES ('R1', 'Uno', 0, ''), ('R2', 'Due', 0, ''), ('R3', 'Tre', 0, '')");
	{
		FormDriver form = Apri();
		ASSERT_EQ(form.RowCount(kGrid), 3);
		ASSERT_TRUE(form.DeleteRow(kGrid, 1)) << form.GetLastError();
		ASSERT_TRUE(form.TypeCell(kGrid, 0, "Descrizione breve", "Uno bis"));
		ASSERT_TRUE(form.TypeCell(kGrid, 0, "Sel.", "Si"));
		Scrivi(form, "r9", "Nove");
		ASSERT_TRUE(form.AddRow(kGrid));  // left blank: not a description
		ASSERT_TRUE(form.RunBatch()) << form.GetLastError();
		EXPECT_EQ(Tabella(), (std::vector<std::string>{"R1  1 Uno bis", "R3  0 Tre", "R9  0 Nove"}));
		EXPECT_FALSE(form.IsModified());
		ASSERT_TRUE(form.Close());
	}
	// Every row deleted: the table is left empty.
	FormDriver form = Apri();
	ASSERT_EQ(form.RowCount(kGrid), 3);
	for (int i = 2; i >= 0; --i)
		ASSERT_TRUE(form.DeleteRow(kGrid, i));
	ASSERT_TRUE(form.RunBatch());
	EXPECT_TRUE(Tabella().empty());
}

TEST_F(DescrizioniBrevi, ASaveThatFailsPartWayKeepsEveryDescription)
{
	Sql("INSERT INTO Kvz_DescrizioniBrevi VALUES ('R1', 'Uno', 0, ''), ('R2', 'Due', 1, 'CE'), ('R3', 'Tre', 0, '')");
	const std::vector<std::string> prima = Tabella();
	// The database refuses the fifth row the save writes.
	Sql("CREATE TRIGGER rifiuta_r5 BEFORE INSERT ON Kvz_DescrizioniBrevi WHEN NEW.CodRiclassificato = 'R5' "
		"BEGIN SELECT RAISE(ABORT, 'codice R5 rifiutato'); END");
	FormDriver form = Apri();
	Scrivi(form, "R4", "Quattro");
	Scrivi(form, "R5", "Cinque");
	Scrivi(form, "R6", "Sei");
	EXPECT_FALSE(form.RunBatch());
	EXPECT_EQ(Tabella(), prima);
	const auto mostrati = Mostrati();
	ASSERT_GE(mostrati.size(), 2u);
	EXPECT_NE(mostrati[mostrati.size() - 2].Find("codice R5 rifiutato"), -1) << mostrati[mostrati.size() - 2].str();
	EXPECT_EQ(mostrati.back(), "Descrizioni brevi non salvate: la tabella è rimasta com'era.");
	// What was typed is still there to save again once the database takes it.
	EXPECT_EQ(form.RowCount(kGrid), 6);
	Sql("DROP TRIGGER rifiuta_r5");
	ASSERT_TRUE(form.RunBatch());
	EXPECT_EQ(Tabella().size(), 6u);

	// Stopped by the user half-way: the same.
	const std::vector<std::string> salvate = Tabella();
	ASSERT_TRUE(form.TypeCell(kGrid, 0, "Descrizione breve", "Uno bis"));
	m_Ui.AbortAfterPolls(3);
	EXPECT_FALSE(form.RunBatch());
	m_Ui.AbortAfterPolls(0);
	EXPECT_EQ(Tabella(), salvate);
}

TEST_F(DescrizioniBrevi, RowsWithoutACodeOrWithARepeatedOneAreRefusedBeforeAnythingIsDeleted)
{
	Sql("INSERT INTO Kvz_DescrizioniBrevi VALUES ('R1', 'Uno', 0, '')");
	struct Caso
	{
		const char* codice;
		const char* messaggio;
	};
	for (Caso c : {Caso{"", "Riga 2: indicare il codice."}, Caso{"r1", "Riga 2: il codice R1 è già presente."}})
	{
		SCOPED_TRACE(c.messaggio);
		FormDriver form = Apri();
		ASSERT_TRUE(form.AddRow(kGrid));
		if (*c.codice)
		{
			ASSERT_TRUE(form.TypeCell(kGrid, 1, "Codice", c.codice));
		}
		ASSERT_TRUE(form.TypeCell(kGrid, 1, "Descrizione breve", "Altro"));
		EXPECT_FALSE(form.RunBatch());
		ASSERT_FALSE(Mostrati().empty());
		EXPECT_EQ(Mostrati().back(), c.messaggio);
		EXPECT_EQ(Tabella(), (std::vector<std::string>{"R1  0 Uno"}));
		ASSERT_TRUE(form.Close());
	}
}

TEST_F(DescrizioniBrevi, TheModelRowOfACodeIsFoundThroughAnIndex)
{
	Kvz_TRiclassificazioneRighe rec;
	SqlTable t(&rec);
	t.Open();
	Kvz_DDescrizioniBrevi::DefinisciQueryRigaModello(t, rec);
	auto st = m_pConn->Db().Prepare(("EXPLAIN QUERY PLAN " + t.GetSelectSql()).str());
	std::string plan;
	while (st->Step())
	{
		DataStr s;
		s.SetDataValue(st->Column(3));
		plan += std::string(s.GetString().str()) + "\n";
	}
	EXPECT_NE(plan.find("USING INDEX Kvz_RiclassificazioneRighe_ix"), std::string::npos) << plan;
	EXPECT_EQ(plan.find("SCAN"), std::string::npos) << plan;
}
