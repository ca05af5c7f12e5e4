#pragma once
// Printing of reclassified statements by model and by code: reports read the marked models, the
// values of a code for them and the short descriptions of the marked codes. Template
// "BDStampaRiclassificato".
#include <functional>
#include <vector>

#include "platform/plvges/FormViews.h"

struct BDStampaRiclassificatoModello
{
	DataBool Selezionato;
	DataStr Modello;
	DataStr Descrizione;
};

struct BDStampaRiclassificatoCodice
{
	DataBool Selezionato;
	DataStr Codice;
	DataStr DescrizioneBreve;
};

class BDStampaRiclassificatoDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(BDStampaRiclassificatoDoc, CAbstractFormDoc)
public:
	// A marked model gives its code and description, another row an empty code; false past the end.
	DataBool Kvz_GetNextModelloPerStampa(DataInt nRiga, DataStr& aModello, DataStr& aDescrizione);
	// The code's values for the marked models, one argument per marked model in row order: the
	// first 35 marked models, then the next 35, 29 and 11.
	DataBool Kvz_GetNextCodiciPerStampa_1(DataStr aCodice, DataMon& aImporto1, DataMon& aImporto2, DataMon& aImporto3, DataMon& aImporto4, DataMon& aImporto5, DataMon& aImporto6, DataMon& aImporto7, DataMon& aImporto8, DataMon& aImporto9, DataMon& aImporto10, DataMon& aImporto11, DataMon& aImporto12, DataMon& aImporto13, DataMon& aImporto14, DataMon& aImporto15, DataMon& aImporto16, DataMon& aImporto17, DataMon& aImporto18, DataMon& aImporto19, DataMon& aImporto20, DataMon& aImporto21, DataMon& aImporto22, DataMon& aImporto23, DataMon& aImporto24, DataMon& aImporto25, DataMon& aImporto26, DataMon& aImporto27, DataMon& aImporto28, DataMon& aImporto29, DataMon& aImporto30, DataMon& aImporto31, DataMon& aImporto32, DataMon& aImporto33, DataMon& aImporto34, DataMon& aImporto35);
	DataBool Kvz_GetNextCodiciPerStampa_2(DataStr aCodice, DataMon& aImporto1, DataMon& aImporto2, DataMon& aImporto3, DataMon& aImporto4, DataMon& aImporto5, DataMon& aImporto6, DataMon& aImporto7, DataMon& aImporto8, DataMon& aImporto9, DataMon& aImporto10, DataMon& aImporto11, DataMon& aImporto12, DataMon& aImporto13, DataMon& aImporto14, DataMon& aImporto15, DataMon& aImporto16, DataMon& aImporto17, DataMon& aImporto18, DataMon& aImporto19, DataMon& aImporto20, DataMon& aImporto21, DataMon& aImporto22, DataMon& aImporto23, DataMon& aImporto24, DataMon& aImporto25, DataMon& aImporto26, DataMon& aImporto27, DataMon& aImporto28, DataMon& aImporto29, DataMon& aImporto30, DataMon& aImporto31, DataMon& aImporto32, DataMon& aImporto33, DataMon& aImporto34, DataMon& aImporto35);
	DataBool Kvz_GetNextCodiciPerStampa_3(DataStr aCodice, DataMon& aImporto1, DataMon& aImporto2, DataMon& aImporto3, DataMon& aImporto4, DataMon& aImporto5, DataMon& aImporto6, DataMon& aImporto7, DataMon& aImporto8, DataMon& aImporto9, DataMon& aImporto10, DataMon& aImporto11, DataMon& aImporto12, DataMon& aImporto13, DataMon& aImporto14, DataMon& aImporto15, DataMon& aImporto16, DataMon& aImporto17, DataMon& aImporto18, DataMon& aImporto19, DataMon& aImporto20, DataMon& aImporto21, DataMon& aImporto22, DataMon& aImporto23, DataMon& aImporto24, DataMon& aImporto25, DataMon& aImporto26, DataMon& aImporto27, DataMon& aImporto28, DataMon& aImporto29);
	DataBool Kvz_GetNextCodiciPerStampa_4(DataStr aCodice, DataMon& aImporto1, DataMon& aImporto2, DataMon& aImporto3, DataMon& aImporto4, DataMon& aImporto5, DataMon& aImporto6, DataMon& aImporto7, DataMon& aImporto8, DataMon& aImporto9, DataMon& aImporto10, DataMon& aImporto11);
	// Keeps the short descriptions of the marked codes and takes those rows out of the list.
	DataBool Kvz_CancellaSelezionati();
	// The short descriptions of the first nine marked codes; the other arguments empty.
	DataBool Kvz_GetNextDescrizioniPerStampa(DataStr& aDescr1, DataStr& aDescr2, DataStr& aDescr3, DataStr& aDescr4,
											 DataStr& aDescr5, DataStr& aDescr6, DataStr& aDescr7, DataStr& aDescr8,
											 DataStr& aDescr9);

	std::vector<BDStampaRiclassificatoModello> m_Modelli;
	std::vector<BDStampaRiclassificatoCodice> m_Codici;
	// The value of a code for a model; until the statement is prepared, none.
	std::function<DataMon(const DataStr& codice, const DataStr& modello)> m_ValoreCodice;
	int m_nProssimoCodice = 0;

private:
	DataBool CodiciPerStampa(const DataStr& aCodice, int nFirst, std::vector<DataMon*> importi);
};

class BDStampaRiclassificatoView : public CAbstractFormView
{
	DECLARE_DYNCREATE(BDStampaRiclassificatoView, CAbstractFormView)
public:
	BDStampaRiclassificatoView() : CAbstractFormView(_T("BDStampaRiclassificatoView")) {}
};
