#pragma once
// Reclassified values extracted for a report, by four-month block, and single values read from
// the results. Template "BDStampaReportRiclassific".
#include <vector>

#include "kvznet/kvzmod/kvzdocuments/ReportRows.h"
#include "platform/plvges/FormViews.h"

class Kvz_CStampaReportRiclassificDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_CStampaReportRiclassificDoc, CAbstractFormDoc)
public:
	DataBool Kvz_QualcosaInQuadrim1() { return DataBool(m_nQuadrim[0] >= 0); }
	DataBool Kvz_QualcosaInQuadrim2() { return DataBool(m_nQuadrim[1] >= 0); }
	DataBool Kvz_QualcosaInQuadrim3() { return DataBool(m_nQuadrim[2] >= 0); }
	// One value of the results: column "0" the main value, "A" to "C" the budgets, "1" to "10"
	// the further values; 0 when there is no such row or column.
	DataMon Kvz_GetValoreDelMese(DataInt aEsercizio, DataStr aModello, DataInt aMese, DataStr aCodice, DataStr aColonna,
								 DataEnum aTipoDato);
	DataBool Kvz_GetRigaQuadrim1(DataInt nRiga, DataStr& aCodice, DataStr& aDescrizione, DataMon& aImporto1,
								 DataMon& aImporto2, DataMon& aImporto3, DataMon& aImporto4, DataMon& aImporto5,
								 DataMon& aImporto6, DataMon& aImporto7, DataMon& aImporto8, DataMon& aImporto9,
								 DataMon& aImporto10, DataEnum& aTipoRiga);
	DataBool Kvz_GetRigaQuadrim2(DataInt nRiga, DataStr& aCodice, DataStr& aDescrizione, DataMon& aImporto1,
								 DataMon& aImporto2, DataMon& aImporto3, DataMon& aImporto4, DataMon& aImporto5,
								 DataMon& aImporto6, DataMon& aImporto7, DataMon& aImporto8, DataMon& aImporto9,
								 DataMon& aImporto10, DataEnum& aTipoRiga);
	DataBool Kvz_GetRigaQuadrim3(DataInt nRiga, DataStr& aCodice, DataStr& aDescrizione, DataMon& aImporto1,
								 DataMon& aImporto2, DataMon& aImporto3, DataMon& aImporto4, DataMon& aImporto5,
								 DataMon& aImporto6, DataMon& aImporto7, DataMon& aImporto8, DataMon& aImporto9,
								 DataMon& aImporto10, DataEnum& aTipoRiga);

	std::vector<kvzdocuments::RigaQuadrimestre> m_Quadrim[3];
	int m_nQuadrim[3] = {-1, -1, -1};  // below zero: nothing extracted for the block
};

class Kvz_CStampaReportRiclassificView : public CAbstractFormView
{
	DECLARE_DYNCREATE(Kvz_CStampaReportRiclassificView, CAbstractFormView)
public:
	Kvz_CStampaReportRiclassificView() : CAbstractFormView(_T("Kvz_CStampaReportRiclassificView")) {}
};
