#pragma once
// Reclassified report extraction: the stored results of a model (or grouping code), a year, a
// month range and a kind of base-plan data reduced to print rows of one value column, by code
// and four-month period, for the report that reads them back; codes with a dividend and a
// divisor get their progressive over the range. Template "BDStampaReportRiclassific".
#include <memory>
#include <vector>

#include "kvznet/kvzmod/kvzdocuments/riclassific/ReportRows.h"
#include "platform/plvges/FormViews.h"
#include "platform/plvrendoviewer/CRendoDoc.h"

class KVZ_HKLTmpRiclassificazioneTesta;
class Kvz_HKLCodRaggrupp;
class Kvz_TRiclassificato;

class Kvz_CStampaReportRiclassificDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_CStampaReportRiclassificDoc, CAbstractFormDoc)
	DECLARE_MESSAGE_MAP()
public:
	Kvz_CStampaReportRiclassificDoc();
	~Kvz_CStampaReportRiclassificDoc() override;

	BOOL OnAttachData() override;
	void OnBatchExecute() override;
	void DisableControlsForBatch() override {}
	// The report runs from the procedure only.
	BOOL CanDoReport() override { return FALSE; }

	// Fills the three periods' rows; TRUE when a result row was read.
	BOOL EstraiDati();

	DataBool Kvz_QualcosaInQuadrim1() { return DataBool(m_nQuadrim[0] >= 0); }
	DataBool Kvz_QualcosaInQuadrim2() { return DataBool(m_nQuadrim[1] >= 0); }
	DataBool Kvz_QualcosaInQuadrim3() { return DataBool(m_nQuadrim[2] >= 0); }
	// One value of the results: column "0" the main value, "A" to "C" the budgets, "1" to "10"
	// the further values; 0 when there is no such row or column.
	DataMon Kvz_GetValoreDelMese(DataInt aEsercizio, DataStr aModello, DataInt aMese, DataStr aCodice, DataStr aColonna,
								 DataEnum aTipoDato);
	// The row at the index of a period: the four months' value and reported total, then the
	// range value and the range's reported total; FALSE past the last row, nothing changed.
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

	// ---- parameters (the form's controls) ----------------------------------------------------
	DataInt m_Esercizio;
	DataInt m_DalMese;
	DataInt m_AlMese;
	DataStr m_Modello;
	DataStr m_DescriModello;
	DataEnum m_TipoDato;
	DataBool m_IsModello;
	DataBool m_IsRaggrupp;
	DataStr m_Colonna;

	// The print rows of months 1-4, 5-8 and 9-12, amounts in the order the report reads them:
	// 0 to 7 the four months (value, reported total), 8 the range value, 9 its reported total.
	std::vector<kvzdocuments::RigaQuadrimestre> m_Quadrim[3];
	int m_nQuadrim[3] = {-1, -1, -1};  // the last row's index; -1: nothing for the period

	CParsedCtrl* m_pModelloCtrl = nullptr;
	const CPLVNamespace& GetReportNamespace() const { return m_nsReport; }
	// The report document of the last run, while it is open.
	CRendoDoc* GetReport() const { return m_pReport.Get(); }

protected:
	void OnEsercizioChanged();
	void OnModelloRaggruppChanged();
	void OnModelloChanged();
	void OnColonnaChanged();
	void OnSceltaReport();
	void EseguiReport();

private:
	class Estrazione;
	KVZ_HKLTmpRiclassificazioneTesta* m_pHKLModello = nullptr;
	Kvz_HKLCodRaggrupp* m_pHKLRaggrupp = nullptr;
	CPLVNamespace m_nsReport;
	CString m_strReportName;
	IDisposablePtr m_pReport;
};

class Kvz_CStampaReportRiclassificView : public CMasterFormView
{
	DECLARE_DYNCREATE(Kvz_CStampaReportRiclassificView, CMasterFormView)
public:
	Kvz_CStampaReportRiclassificView() : CMasterFormView(_T("CStampaReportRiclassificView"), 31750) {}
	void BuildDataControlLinks() override;
};
