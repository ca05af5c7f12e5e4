#pragma once
// Comparison of two reclassified plans; reports read its rows one at a time. Template
// "BDComparazioneRiclassific".
#include <vector>

#include "platform/plvges/FormViews.h"

// One row of the comparison, in the order the report reads it.
struct Kvz_RigaComparazione
{
	DataStr Codice;
	DataStr Descrizione;
	DataMon Importo1;
	DataMon Importo2;
	DataMon Differenza;
	DataPerc Percentuale;
	DataMon Importo3;
	DataMon Importo4;
	DataEnum TipoRiga;
	DataMon Importo5;
	DataMon Importo6;
	DataInt Livello;
};

class Kvz_CComparazioneRiclassificDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_CComparazioneRiclassificDoc, CAbstractFormDoc)
public:
	// The row at the index into the twelve arguments: true; past the last row false, nothing changed.
	DataBool GetRigaComparazione(DataInt nRiga, DataStr& aCodice, DataStr& aDescrizione, DataMon& aImporto1,
								 DataMon& aImporto2, DataMon& aDifferenza, DataPerc& aPercentuale, DataMon& aImporto3,
								 DataMon& aImporto4, DataEnum& aTipoRiga, DataMon& aImporto5, DataMon& aImporto6,
								 DataInt& aLivello);

	std::vector<Kvz_RigaComparazione> m_RigheComparazione;
};

class Kvz_CComparazioneRiclassificView : public CAbstractFormView
{
	DECLARE_DYNCREATE(Kvz_CComparazioneRiclassificView, CAbstractFormView)
public:
	Kvz_CComparazioneRiclassificView() : CAbstractFormView(_T("Kvz_CComparazioneRiclassificView")) {}
};
