// The explosion of a model row's formula on the demo job's company, as from the command line.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <variant>

#include "kvznet/kvzmod/kvzdocuments/riclassific/Kvz_CDeRiclassificazioniDoc.h"
#include "kvznet/kvzmod/kvzdocuments/tests/KvzDocumentsFixture.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvges/FormDriver.h"
#include "platform/plvoledb/driver/Driver.h"

namespace {

// The demo job's model, its row "Costi esterni" (a sum of base-plan symbols) exploded as from the
// command line: the month values of its accounts add up to the row's result of the run,
// and so do the progressives.
class EsplosioneDaRigaDiComando : public KvzDocumentsLibrary
{
};

TEST_F(EsplosioneDaRigaDiComando, TheAccountsOfARowAddUpToItsResult)
{
	const char* szDb = std::getenv("KVZ_DEMO_JOB_DB");
	if (!szDb)
		GTEST_SKIP() << "run by the host's test kvz_esplosione_formula_valori";
	// A copy: the explosion reads, and the job's database stays as the job left it.
	const std::filesystem::path copia = m_Folder / "demo.db";
	std::filesystem::copy_file(szDb, copia);
	AfxSetDefaultSqlConnection(nullptr);
	m_pConn = SqlConnection::Open(CString(copia.string()), SqlConnection::OPEN_EXISTING);
	ASSERT_TRUE(m_pConn);
	AfxSetDefaultSqlConnection(m_pConn.get());
	AfxSetApplicationDate(DataDate(31, 12, 2026));
	auto valore = [&](const std::string& sql) {
		auto st = m_pConn->Db().Prepare(sql);
		EXPECT_TRUE(st->Step()) << sql;
		const plv::db::Value v = st->Column(0);
		return std::holds_alternative<double>(v)		 ? std::get<double>(v)
			   : std::holds_alternative<std::int64_t>(v) ? static_cast<double>(std::get<std::int64_t>(v))
														 : 0.0;
	};
	const std::string risultato = "SELECT COALESCE(SUM(Valore), 0) FROM Kvz_Riclassificato WHERE Esercizio = 2026 AND "
								  "ModelloRiclassific = 'CE' AND CodRiclassificato = 'CE' AND Mese ";
	const double dicembre = valore(risultato + "= 12");
	const double anno = valore(risultato + "BETWEEN 1 AND 12");
	ASSERT_NE(dicembre, 0.0);

	auto* pDoc = Open<Kvz_CDeRiclassificazioniDoc>("DModelliRiclassific");
	ASSERT_TRUE(pDoc);
	FormDriver form(pDoc);
	ASSERT_TRUE(form.Find());
	ASSERT_TRUE(form.Type("ModelloRiclassific", "CE"));
	ASSERT_TRUE(form.Save());
	ASSERT_TRUE(form.SelectRow("Righe riclassificazioni", 1));
	FormDriver::AnswerDialog([](FormDriver& dlg) { return dlg.Press("Saldo") && dlg.Type("Mese:", "12") ? IDOK : IDCANCEL; });
	ASSERT_TRUE(form.Command("Esplosione")) << form.GetLastError();
	std::string detto;
	for (const auto& m : m_Ui.Messages())
		detto += "\n" + m.text.str();
	DataStr formula;
	{
		auto st = m_pConn->Db().Prepare("SELECT Formula FROM Kvz_RiclassificazioneRighe WHERE Esercizio = 2026 AND "
										"ModelloRiclassific = 'CE' AND CodRiclassificato = 'CE'");
		ASSERT_TRUE(st->Step());
		formula.SetDataValue(st->Column(0));
	}
	EXPECT_EQ(pDoc->m_FormulaEsplosa.GetString(), formula.GetString()) << detto;
	double mese = 0, progressivo = 0;
	int parti = 0;
	for (const Kvz_RigaEsplosione& r : pDoc->m_RigheEsplosione)
		for (const auto& d : r.Dettagli)
		{
			mese += d.Importi[0].GetValue();
			progressivo += d.Importi[1].GetValue();
			++parti;
		}
	EXPECT_GE(parti, 2);  // the accounts of its symbols
	EXPECT_NEAR(mese, dicembre, 0.005);
	EXPECT_NEAR(progressivo, anno, 0.005);
	form.Close();
	AfxResetApplicationDate();
}

}  // namespace
