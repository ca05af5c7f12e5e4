#include <set>
#include <string>
#include <vector>

#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_CBudgetDoc.h"
#include "kvznet/kvzmod/kvzdocuments/tests/KvzDocumentsFixture.h"

namespace {
struct Row
{
	std::string name, doc, frame, view;
	friend bool operator==(const Row&, const Row&) = default;
	friend std::ostream& operator<<(std::ostream& os, const Row& r)
	{
		return os << r.name << " " << r.doc << " " << r.frame << " " << r.view;
	}
};

const std::vector<Row> kExpected = {
	{"DParametri", "Kvz_CDeParamDoc", "CMasterFrame", "Kvz_CDeParamView"},
	{"DDescrizioniBrevi", "Kvz_DDescrizioniBrevi", "CBatchFrame", "Kvz_DescrizioniBreviView"},
	{"DAnagConti", "Kvz_CDeAnagContiDoc", "CMasterFrame", "Kvz_CDeAnagContiView"},
	{"DPianoBase", "Kvz_CPianoBaseDoc", "CMasterFrame", "Kvz_CPianoBaseView"},
	{"DCodBudget", "Kvz_CDeCodBudgetDoc", "CMasterFrame", "Kvz_CDeCodBudgetView"},
	{"DModelliRiclassific", "Kvz_CDeRiclassificazioniDoc", "Kvz_CDeRiclassificazioniFrame", "Kvz_CDeRiclassificazioniView"},
	{"DAziende", "Kvz_CDeAziendeDoc", "CMasterFrame", "Kvz_CDeAziendeView"},
	{"DCodRaggruppamenti", "Kvz_CDeCodRaggruppDoc", "CMasterFrame", "Kvz_CDeCodRaggruppView"},
	{"DBudget", "Kvz_CBudgetDoc", "CMasterFrame", "Kvz_CBudgetView"},
	{"DAssestamento", "Kvz_CAssestamentoDoc", "Kvz_AssestamentoFrame", "Kvz_CAssestamentoView"},
	{"BDDettAssestamento", "Kvz_DettAssestamentoDoc", "CBatchFrame", "Kvz_DettAssestamentoView"},
	{"RipAssestamento", "Kvz_RipAssestamentoDoc", "CBatchFrame", "Kvz_RipAssestamentoView"},
	{"FiltriCommesse", "Kvz_FiltriCommesseDoc", "CBatchFrame", "Kvz_FiltriCommesseView"},
	{"BDSelezBudget", "Kvz_CSelezBudgetDoc", "CBatchFrame", "Kvz_CSelezBudgetView"},
	{"BDSelezAssestamento", "Kvz_CSelezAssestamentoDoc", "CBatchFrame", "Kvz_CSelezAssestamentoView"},
	{"BDFormula", "Kvz_CFormulaDoc", "CBatchFrame", "Kvz_CFormulaView"},
	{"BDPropSimboloPBase", "Kvz_CPropSimboloPBaseDoc", "CBatchFrame", "Kvz_CPropSimboloPBaseView"},
	{"BDPropSimboloExtraC", "Kvz_CPropSimboloExtraCDoc", "CBatchFrame", "Kvz_CPropSimboloExtraCView"},
	{"BDPropSimboloRiclass", "Kvz_CPropSimboloRiclassDoc", "CBatchFrame", "Kvz_CPropSimboloRiclassView"},
	{"BDPropSimboloOutRiclass", "Kvz_CPropSimboloOutRiclassDoc", "CBatchFrame", "Kvz_CPropSimboloOutRiclassView"},
	{"DRiclassificPianoBase", "Kvz_CRiclassificPianoBaseDoc", "CBatchFrame", "Kvz_CRiclassificPianoBaseView"},
	{"BDStampaRiclassificato", "BDStampaRiclassificatoDoc", "CBatchFrame", "BDStampaRiclassificatoView"},
	{"BDStampaReportRiclassific", "Kvz_CStampaReportRiclassificDoc", "CBatchFrame", "Kvz_CStampaReportRiclassificView"},
	{"BDViewContatori", "Kvz_ViewContatoriDoc", "CBatchFrame", "Kvz_ViewContatoriView"},
	{"DCodExtracont", "Kvz_CDeCodExtracontDoc", "CMasterFrame", "Kvz_CDeCodExtracontView"},
	{"BDInsExtracontMensili", "Kvz_CInsExtracontMensiliDoc", "CBatchFrame", "Kvz_CInsExtracontMensiliView"},
	{"BDComparazioneRiclassific", "Kvz_CComparazioneRiclassificDoc", "CBatchFrame", "Kvz_CComparazioneRiclassificView"},
	{"BDRicostruzAssestamento", "Kvz_CRicostruzAssestamentoDoc", "CBatchFrame", "Kvz_CRicostruzAssestamentoView"},
	{"BDModelliMultiAz", "CModelliMultiAzDoc", "CBatchFrame", "CModelliMultiAzView"},
	{"BDModelliRigheMultiAz", "CModelliRigheMultiAzDoc", "CBatchFrame", "CModelliRigheMultiAzView"},
	{"BDDeRiclassificati", "Kvz_CDeRiclassificatiDoc", "CMasterFrame", "Kvz_CDeRiclassificatiView"},
};

std::vector<Row> RowsOf(const std::vector<CSingleExtDocTemplate*>& templates)
{
	std::vector<Row> rows;
	for (CSingleExtDocTemplate* t : templates)
		rows.push_back({t->GetNamespace().GetObjectName(CPLVNamespace::DOCUMENT).str(), t->GetDocClass()->m_lpszClassName,
						t->GetFrameClass()->m_lpszClassName, t->GetViewClass()->m_lpszClassName});
	return rows;
}
}  // namespace

TEST_F(KvzDocumentsLibrary, RegistersThe31TemplatesInOrderInDefault)
{
	// The namespace the library registered itself under when it loaded.
	EXPECT_EQ(m_pDocs->ns.ToString(), "Library.KvzNet.KvzMod.KvzDocuments");
	const auto templates = AfxGetBaseApp()->GetTemplatesOf(m_pDocs->pAddOn.get());
	EXPECT_EQ(RowsOf(templates), kExpected);
	for (CSingleExtDocTemplate* t : templates)
	{
		SCOPED_TRACE(t->GetNamespace().GetPathName().GetString());
		EXPECT_EQ(t->GetNamespace().GetPathName().Left(27), "KvzNet.KvzMod.KvzDocuments.");
		EXPECT_EQ(t->GetViewName(), "Default");
		EXPECT_EQ(t->GetID(), 4u);  // the fourth library loaded
		EXPECT_EQ(t->GetLibraryName(), "KvzDocuments");
		EXPECT_NE(t->GetModuleInstance(), nullptr);
	}
	EXPECT_TRUE(AfxGetApplicationContext()->GetAssertionReports().empty());
}

TEST_F(KvzDocumentsLibrary, OneRefusedTemplateLeavesTheOther30)
{
	AddOnInterfaceObj* pAddOn = m_pDocs->pAddOn.get();
	AfxGetBaseApp()->RemoveTemplates(pAddOn);
	// Another library got there first with "DBudget".
	AddOnInterfaceObj squatter;
	ASSERT_NE(AfxGetBaseApp()->RegisterTemplate(1, RUNTIME_CLASS(Kvz_CBudgetDoc), RUNTIME_CLASS(CMasterFrame),
												RUNTIME_CLASS(Kvz_CBudgetView),
												CPLVNamespace("Document.KvzNet.KvzMod.KvzDocuments.DBudget"), &squatter,
												"Altro", 0, "Default"),
			  nullptr);
	pAddOn->AOI_RegisterTemplates(9, &m_pDocs->ns);
	auto rows = RowsOf(AfxGetBaseApp()->GetTemplatesOf(pAddOn));
	auto expected = kExpected;
	std::erase_if(expected, [](const Row& r) { return r.name == "DBudget"; });
	EXPECT_EQ(rows, expected);
	const auto reports = AfxGetApplicationContext()->GetAssertionReports();
	ASSERT_EQ(reports.size(), 1u);
	EXPECT_EQ(reports[0].condition, "pTemplate");
	EXPECT_EQ(reports[0].method, "AddOnInterface::AOI_RegisterTemplates");
	EXPECT_EQ(reports[0].file, "KvzDocumentsInterfce");
	AfxGetBaseApp()->RemoveTemplates(&squatter);
}

TEST_F(KvzDocumentsLibrary, EveryTemplateOpensAndClosesDocumentsWithoutOneDoNot)
{
	// Opened only from the document they serve: alone they refuse.
	const std::set<std::string> perChiamante = {"BDFormula", "FiltriCommesse", "BDViewContatori", "DAssestamento", "BDDettAssestamento", "RipAssestamento"};
	for (const Row& r : kExpected)
	{
		SCOPED_TRACE(r.name);
		CBaseDocument* pDoc = Open<CBaseDocument>(r.name.c_str());
		if (perChiamante.count(r.name))
		{
			EXPECT_EQ(pDoc, nullptr);
			continue;
		}
		ASSERT_NE(pDoc, nullptr);
		EXPECT_STREQ(pDoc->GetRuntimeClass()->m_lpszClassName, r.doc.c_str());
		ASSERT_NE(pDoc->GetFirstView(), nullptr);
		EXPECT_STREQ(pDoc->GetFirstView()->GetRuntimeClass()->m_lpszClassName, r.view.c_str());
		EXPECT_TRUE(pDoc->CloseDocument(FALSE));
	}
	EXPECT_TRUE(m_Manager.GetOpenDocuments().empty());
	for (const char* name : {"Kvz_CDeCodRiclassificatoDoc", "Kvz_CDeModelliRiclassificDoc"})
	{
		EXPECT_EQ(Open<CBaseDocument>(name), nullptr) << name;
		EXPECT_NE(m_Manager.GetLastError().Find(name), -1) << m_Manager.GetLastError().GetString();
	}
}

TEST_F(KvzDocumentsLibrary, TheReportsNamesWithoutATemplateOpenTheirDocuments)
{
	struct Alias
	{
		const char* name;
		const char* doc;
	};
	for (Alias a : {Alias{"Kvz_CComparazioneRiclassificDoc", "Kvz_CComparazioneRiclassificDoc"},
					Alias{"Kvz_CPianoBaseDoc", "Kvz_CPianoBaseDoc"},
					Alias{"CRiclassificPianoBaseDoc", "Kvz_CRiclassificPianoBaseDoc"},
					Alias{"StampaRiclassificatoDoc", "BDStampaRiclassificatoDoc"}})
	{
		CSingleExtDocTemplate* t =
			AfxGetBaseApp()->FindTemplate(CString("KvzNet.KvzMod.KvzDocuments.") + a.name, "Default");
		ASSERT_NE(t, nullptr) << a.name;
		EXPECT_STREQ(t->GetDocClass()->m_lpszClassName, a.doc);
	}
}
