#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/plvgeneric/Interaction.h"
#include "platform/plvgenlib/CommandManager.h"
#include "platform/plvrendoviewer/CRendoDoc.h"

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

TEST_F(Reports, TheDefaultRunnerSaysThatNothingIsRendered)
{
	AfxSetReportRunner(nullptr);
	auto* pInfo = new CRendoInfo;
	pInfo->AddReport(CPLVNamespace("KvzNet.KvzMod.ContiNonUsati"));
	pInfo->AddReport(CPLVNamespace("KvzNet.KvzMod.PreviewPdCRaggr"));
	m_Manager.ReleaseReport(m_Manager.RunReport(pInfo, nullptr));
	EXPECT_EQ(m_Ui.ProgressTexts(),
			  std::vector<CString>{"Report KvzNet.KvzMod.ContiNonUsati, KvzNet.KvzMod.PreviewPdCRaggr requested (reports "
								   "are not rendered yet)."});
	EXPECT_TRUE(m_Runner.Requests().empty());
}
