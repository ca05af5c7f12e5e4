#pragma once
// The reclassification run of a year; after a run reports read its year, first month, model and
// rows by four-month block. Template "DRiclassificPianoBase".
#include <vector>

#include "kvznet/kvzmod/kvzdocuments/ReportRows.h"
#include "platform/plvges/FormViews.h"

class Kvz_CRiclassificPianoBaseDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_CRiclassificPianoBaseDoc, CAbstractFormDoc)
public:
	DataInt Kvz_GetEsercizioRiclassific() { return m_Esercizio; }
	DataInt Kvz_GetDalMeseRiclassific() { return m_DalMese; }
	DataStr Kvz_GetModelloRiclassific() { return m_Modello; }
	DataBool Kvz_QualcosaInQuadrim2() { return DataBool(!m_Quadrim[1].empty()); }
	DataBool Kvz_QualcosaInQuadrim3() { return DataBool(!m_Quadrim[2].empty()); }
	// The row's code, description and eight amounts; the last two amounts and the kind stay as passed.
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

	DataInt m_Esercizio;
	DataInt m_DalMese;
	DataStr m_Modello;
	std::vector<kvzdocuments::RigaQuadrimestre> m_Quadrim[3];
};

class Kvz_CRiclassificPianoBaseView : public CAbstractFormView
{
	DECLARE_DYNCREATE(Kvz_CRiclassificPianoBaseView, CAbstractFormView)
public:
	Kvz_CRiclassificPianoBaseView() : CAbstractFormView(_T("Kvz_CRiclassificPianoBaseView")) {}
};
