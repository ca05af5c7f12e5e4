#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include <memory>
#include <string>
#include <vector>

#include "platform/plvgeneric/Interaction.h"
#include "platform/plvgenlib/CommandManager.h"
#include "platform/plvrendoviewer/CRendoDoc.h"
#include "platform/plvrendoviewer/ReportOutput.h"
#include "platform/plvrendoviewer/ReportWriters.h"

namespace {

class TStampaDoc : public CBaseDocument
{
	DECLARE_DYNAMIC(TStampaDoc, CBaseDocument)
};

// The report inputs as "name=value" texts, in order.
std::vector<std::string> Inputs(const CRendoInfo& info)
{
	std::vector<std::string> out;
	for (int i = 0; i < info.GetParamCount(); ++i)
		out.push_back(info.GetParamName(i).str() + "=" + info.GetParamValue(i)->FormatData().str());
	return out;
}

class Reports : public ::testing::Test
{
protected:
	void SetUp() override
	{
		m_pScope = std::make_unique<InteractionScope>(&m_Ui);
		m_Manager.Install();
		m_pPrevRunner = AfxSetReportRunner(&m_Runner);
	}
	void TearDown() override { AfxSetReportRunner(m_pPrevRunner == &m_Runner ? nullptr : m_pPrevRunner); }

	ScriptedInteraction m_Ui;
	std::unique_ptr<InteractionScope> m_pScope;
	CPlvCommandManager m_Manager;
	CRecordingReportRunner m_Runner;
	IReportRunner* m_pPrevRunner = nullptr;
};

}  // namespace

TEST_F(Reports, ARequestIsHandedOverWithItsInputsAndContext)
{
	TStampaDoc context;
	auto* pInfo = new CRendoInfo;
	pInfo->AddReport(CPLVNamespace("KvzNet.KvzMod.StampaRiclassificatoPerCodice"));
	pInfo->AddParam("w_ModelloInput", DataStr("M01"));
	pInfo->AddParam("w_EsercInput", DataInt(2024));
	pInfo->AddParam("w_AlMeseInput", DataInt(12));
	pInfo->AddParam("w_DalMeseInput", DataInt(1));
	pInfo->AddParam("W_MODELLOINPUT", DataStr("M02"));  // again: new value, same place

	CRendoDoc* pReport = AfxGetPlvCmdManager()->RunReport(pInfo, &context, nullptr, nullptr, TRUE);
	ASSERT_NE(pReport, nullptr);
	auto requests = m_Runner.Requests();
	ASSERT_EQ(requests.size(), 1u);
	ASSERT_EQ(requests[0].info->GetReportsToRun().size(), 1u);
	EXPECT_EQ(requests[0].info->GetReportsToRun()[0].GetPathName(), "KvzNet.KvzMod.StampaRiclassificatoPerCodice");
	EXPECT_EQ(Inputs(*requests[0].info),
			  (std::vector<std::string>{"w_ModelloInput=M02", "w_EsercInput=2024", "w_AlMeseInput=12", "w_DalMeseInput=1"}));
	EXPECT_EQ(requests[0].pContext, &context);
	EXPECT_EQ(requests[0].contextClass, "TStampaDoc");
	EXPECT_EQ(requests[0].info->GetParamValue("w_esercinput")->GetDataType(), DATA_INT_TYPE);
	EXPECT_EQ(requests[0].info->GetParamValue("w_Assente"), nullptr);

	// The report document stays until handed back, and runs again on request.
	EXPECT_TRUE(AfxGetPlvCmdManager()->ExistDocument(pReport));
	EXPECT_TRUE(pReport->RunReport(TRUE, TRUE));
	EXPECT_EQ(pReport->GetRunCount(), 2);
	EXPECT_EQ(m_Runner.Requests().size(), 2u);
	AfxGetPlvCmdManager()->ReleaseReport(pReport);
	EXPECT_FALSE(AfxGetPlvCmdManager()->ExistDocument(pReport));
}

TEST_F(Reports, AReportOutlivingItsContextRunsWithoutIt)
{
	auto* pContext = new TStampaDoc;
	auto* pInfo = new CRendoInfo;
	pInfo->SetNamespace(CPLVNamespace("KvzNet.KvzMod.ConfrontoRiclassif"));
	CRendoDoc* pReport = m_Manager.RunReport(pInfo, pContext);
	ASSERT_NE(pReport, nullptr);
	EXPECT_EQ(pReport->GetContext(), pContext);
	delete pContext;
	EXPECT_EQ(pReport->GetContext(), nullptr);
	pReport->RunReport();
	auto requests = m_Runner.Requests();
	ASSERT_EQ(requests.size(), 2u);
	EXPECT_EQ(requests[1].pContext, nullptr);
	EXPECT_EQ(requests[1].info->GetReportsToRun()[0].GetPathName(), "KvzNet.KvzMod.ConfrontoRiclassif");
	m_Manager.ReleaseReport(pReport);

	EXPECT_EQ(m_Manager.RunReport(nullptr, nullptr), nullptr);
	EXPECT_EQ(m_Ui.LastMessage(), "No report was given to run.");
}

TEST_F(Reports, TheDefaultRunnerRefusesAReportWithoutDefinition)
{
	AfxSetReportRunner(nullptr);
	auto* pInfo = new CRendoInfo;
	pInfo->AddReport(CPLVNamespace("PlvTest.Report.Nessuno"));
	EXPECT_EQ(m_Manager.RunReport(pInfo, nullptr), nullptr);
	EXPECT_EQ(m_Ui.Messages().at(0).text, "The report PlvTest.Report.Nessuno was not written: the report is not defined");
	EXPECT_TRUE(m_Runner.Requests().empty());
}

TEST(ReportNumbers, AreFormattedAsItalianStatementsShowThem)
{
	const std::pair<double, const char*> cases[] = {
		{0, "0,00"},		   {0.005, "0,01"},		 {-0.004, "0,00"},		   {999.999, "1.000,00"},
		{1234567.891, "1.234.567,89"}, {-2500.5, "-2.500,50"}, {1e12, "1.000.000.000.000,00"},
	};
	for (auto [value, text] : cases)
		EXPECT_EQ(FormatItalianNumber(value), text) << value;
	EXPECT_EQ(FormatItalianNumber(-1234.4, 0), "-1.234");
	EXPECT_EQ(FormatReportCell(ReportCell(12.5), ColumnKind::Percent), "12,50 %");
	EXPECT_EQ(FormatReportCell(ReportCell(7), ColumnKind::Integer), "7");
}

TEST(ReportTables, SubtotalsAndTotalsSumTheSummedColumns)
{
	CReportTable t("Prova", {{"Codice"}, {"Mese", ColumnKind::Integer}, {"Importo", ColumnKind::Money}});
	t.AddRow({"A", 1, 10.5});
	t.AddRow({"B", 2, -0.5});
	t.AddSubtotal("Totale A");
	t.AddSubtotal("vuoto");  // no detail since: nothing
	t.AddRow({"C", 3, 100.0});
	t.AddSubtotal("Totale C");
	t.AddTotal("Totale");
	const auto& rows = t.GetRows();
	ASSERT_EQ(rows.size(), 6u);
	EXPECT_EQ(rows[2].kind, RowKind::Subtotal);
	EXPECT_EQ(rows[2].cells[0].GetText(), "Totale A");
	EXPECT_TRUE(rows[2].cells[1].IsEmpty());  // a month is not summed
	EXPECT_DOUBLE_EQ(rows[2].cells[2].GetNumber(), 10.0);
	EXPECT_DOUBLE_EQ(rows[4].cells[2].GetNumber(), 100.0);
	EXPECT_EQ(rows[5].kind, RowKind::Total);
	EXPECT_DOUBLE_EQ(rows[5].cells[2].GetNumber(), 110.0);
	EXPECT_THROW(t.AddRow({"D", "tre"}), std::invalid_argument);
	EXPECT_THROW(t.AddRow({"D", 1, 2.0, 3.0}), std::invalid_argument);
}

TEST(ReportPdf, ALongTableGoesOverPagesWithItsHeadingsRepeated)
{
	if (std::system("command -v pdftotext >/dev/null 2>&1") != 0)
		GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
	CReportOutput out;
	out.title = "Movimenti";
	CReportTable& t = out.AddTable("Righe", {{"Riga"}, {"Importo", ColumnKind::Money}});
	for (int i = 1; i <= 150; ++i)
		t.AddRow({CString::Formatted("Riga %d", i), i * 1.5});
	t.AddTotal("Totale");
	const auto file = std::filesystem::temp_directory_path() / ("plvreport-" + std::to_string(::getpid()) + ".pdf");
	WriteReportPdf(out, file);
	std::string text;
	if (FILE* p = popen(("pdftotext -layout '" + file.string() + "' -").c_str(), "r"))
	{
		char buf[4096];
		for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;)
			text.append(buf, n);
		pclose(p);
	}
	std::filesystem::remove(file);
	EXPECT_NE(text.find("Pagina 1 di 3"), std::string::npos) << text;
	EXPECT_NE(text.find("Pagina 3 di 3"), std::string::npos);
	EXPECT_NE(text.find("Righe (segue)"), std::string::npos);
	EXPECT_NE(text.find("Riga 150"), std::string::npos);
	EXPECT_NE(text.find("16.987,50"), std::string::npos);  // the total of 1,5 x (1 + ... + 150)
}
