#pragma once
// Reclassification models: rows, formulas, groupings; reports read the explosion of its formulas
// row by row. Template "DModelliRiclassific".
#include <vector>

#include "platform/plvges/FormViews.h"

// A row of a formula explosion: a title row starts a symbol, the rows after it explain it.
struct Kvz_RigaEsplosione
{
	struct Dettaglio
	{
		DataStr Testi[6];
		DataMon Importi[2];
	};
	DataBool Titolo;
	DataStr Testo;
	DataEnum TipoSimbolo;
	std::vector<Dettaglio> Dettagli;
};

class Kvz_CDeRiclassificazioniDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_CDeRiclassificazioniDoc, CAbstractFormDoc)
public:
	DataBool Kvz_GetNextRigaEsplos(DataInt& nRiga, DataStr& aTitolo, DataStr& aTesto);
	DataBool Kvz_GetSubNextRigaEsplos(DataInt nRiga, DataInt& nSubRiga, DataStr& aTesto1, DataStr& aTesto2,
									  DataStr& aTesto3, DataStr& aTesto4, DataStr& aTesto5, DataStr& aTesto6,
									  DataMon& aImporto1, DataMon& aImporto2);

	std::vector<Kvz_RigaEsplosione> m_RigheEsplosione;
};

class Kvz_CDeRiclassificazioniView : public CMasterFormView
{
	DECLARE_DYNCREATE(Kvz_CDeRiclassificazioniView, CMasterFormView)
public:
	Kvz_CDeRiclassificazioniView() : CMasterFormView(_T("Kvz_CDeRiclassificazioniView")) {}
};
