// The model picker of the cost-driver document: the models of a target row's company and year,
// one picked with a double click and written back into the row; nothing written without a pick.
#include "kvznet/kvzdrivers/kvzappl/CModelliMultiAzDriversDoc.h"
#include "kvznet/kvzdrivers/kvzappl/DKvzDrivers.h"
#include "kvznet/kvzdrivers/kvzappl/tests/KvzApplFixture.h"

namespace {
const char* const kModelli = "KvzDriversModelli";
const char* const kLista = "Modelli di riclassificazione";

class Picker : public KvzApplLibrary
{
protected:
	void SetUp() override
	{
		KvzApplLibrary::SetUp();
		AfxSetApplicationDate(DataDate(15, 6, 2026));
		Azienda("AZ02", "az02");
		m_pAltra = AltraAzienda("az02.db");
		// Out of code order, and one of another year.
		for (auto [anno, codice, descrizione] : {std::tuple{2026, "MB", "Reparto B"}, std::tuple{2025, "MV", "Vecchio"},
												 std::tuple{2026, "MA", "Reparto A"}})
		{
			Kvz_TModRiclassTeste_Ext t(m_pAltra.get());
			t.f_Esercizio = anno;
			t.f_ModelloRiclassific = codice;
			t.f_Descrizione = descrizione;
			Inserisci(t);
		}
		Kvz_TRiclassificazioneTesta qui;
		qui.f_Esercizio = 2026;
		qui.f_ModelloRiclassific = "CE";
		qui.f_Descrizione = "Conto economico";
		Inserisci(qui);

		m_pDoc = Apri<DKvzDrivers>("KvzDrivers");
		ASSERT_NE(m_pDoc, nullptr);
		m_pForm = std::make_unique<FormDriver>(m_pDoc);
		ASSERT_TRUE(m_pForm->New());
		ASSERT_TRUE(m_pForm->Type("Modello", "D1"));
		ASSERT_TRUE(m_pForm->AddRow(kModelli));
		ASSERT_TRUE(m_pForm->TypeCell(kModelli, 0, "Ditta", "AZ02"));
		ASSERT_TRUE(m_pForm->TypeCell(kModelli, 0, "ModelloRiclassific", "X"));
		ASSERT_TRUE(m_pForm->TypeCell(kModelli, 0, "Descrizione", "Scritta a mano"));
		ASSERT_TRUE(m_pForm->AddRow(kModelli));
		ASSERT_TRUE(m_pForm->TypeCell(kModelli, 1, "ModelloRiclassific", "Y"));
	}
	void TearDown() override
	{
		m_pForm.reset();
		m_pAltra.reset();
		KvzApplLibrary::TearDown();
	}
	// The picker the double click on a models row opened; null when none.
	CModelliMultiAzDriversDoc* ApriPicker(int nRow)
	{
		EXPECT_TRUE(m_pForm->DoubleClick(kModelli, nRow, "SelModelliDitta")) << m_pForm->GetLastError();
		for (CBaseDocument* p : m_Manager.GetOpenDocuments())
			if (auto* pPicker = dynamic_cast<CModelliMultiAzDriversDoc*>(p))
				return pPicker;
		return nullptr;
	}
	BOOL ChiamanteAbilitato() const { return m_pDoc->GetMasterFrame()->IsWindowEnabled(); }
	std::string Riga(int nRow) const
	{
		return (m_pForm->Cell(kModelli, nRow, "ModelloRiclassific") + "|" +
				m_pForm->Cell(kModelli, nRow, "Descrizione")).str();
	}

	std::unique_ptr<SqlConnection> m_pAltra;
	DKvzDrivers* m_pDoc = nullptr;
	std::unique_ptr<FormDriver> m_pForm;
};

TEST_F(Picker, ADoubleClickPicksAModelOfTheRowsCompanyAndYear)
{
	// Below the last target row nothing opens.
	EXPECT_FALSE(m_pForm->DoubleClick(kModelli, 2));
	EXPECT_EQ(m_Manager.GetOpenDocuments().size(), 1u);
	CModelliMultiAzDriversDoc* pPicker = ApriPicker(0);
	ASSERT_NE(pPicker, nullptr);
	EXPECT_FALSE(ChiamanteAbilitato());
	FormDriver picker(pPicker);
	ASSERT_EQ(picker.RowCount(kLista), 2);
	EXPECT_EQ(picker.Cell(kLista, 0, "Modello"), "MA");
	EXPECT_EQ(picker.Cell(kLista, 1, "Modello"), "MB");
	// Below the last row nothing is picked.
	EXPECT_FALSE(picker.DoubleClick(kLista, 2));
	EXPECT_TRUE(picker.IsOpen());
	ASSERT_TRUE(picker.DoubleClick(kLista, 1));
	EXPECT_FALSE(picker.IsOpen());
	EXPECT_TRUE(ChiamanteAbilitato());
	EXPECT_EQ(Riga(0), "MB|Reparto B");
	EXPECT_EQ(Riga(1), "Y|");
	EXPECT_EQ(m_pDoc->m_DescrizionePicker.GetString(), "Reparto B");

	// A row of this company lists this company's models.
	pPicker = ApriPicker(1);
	ASSERT_NE(pPicker, nullptr);
	FormDriver qui(pPicker);
	ASSERT_EQ(qui.RowCount(kLista), 1);
	ASSERT_TRUE(qui.DoubleClick(kLista, 0));
	EXPECT_EQ(Riga(1), "CE|Conto economico");
	ASSERT_TRUE(m_pForm->Save()) << m_Ui.LastMessage().GetString();
	EXPECT_EQ(Query("SELECT Ditta, ModelloRiclassific, Descrizione FROM KvzDriversModelli ORDER BY Ditta"),
			  ".|CE|Conto economico;AZ02|MB|Reparto B");
}

// Closed without a pick, the row keeps its model and its description.
TEST_F(Picker, ClosedWithoutAPickChangesNothing)
{
	CModelliMultiAzDriversDoc* pPicker = ApriPicker(0);
	ASSERT_NE(pPicker, nullptr);
	FormDriver picker(pPicker);
	ASSERT_TRUE(picker.Close());
	EXPECT_TRUE(ChiamanteAbilitato());
	EXPECT_EQ(Riga(0), "X|Scritta a mano");
}

TEST_F(Picker, ACompanyThatCannotBeReachedOpensNoPicker)
{
	ASSERT_TRUE(m_pForm->TypeCell(kModelli, 0, "Ditta", "NESSUNA"));
	m_Ui.Clear();
	EXPECT_EQ(ApriPicker(0), nullptr);
	EXPECT_TRUE(Detto("Azienda NESSUNA non censita."));
	EXPECT_TRUE(ChiamanteAbilitato());
	EXPECT_EQ(Riga(0), "X|Scritta a mano");
	// Alone it has nobody to pick for.
	EXPECT_EQ(Apri<CModelliMultiAzDriversDoc>("BDModelliMultiAzDrivers"), nullptr);
}

}  // namespace
