#pragma once
// "Riporta valori esterni in tabella risultati": zeroes every value-from-outside results row in
// each company of the register and in this one, then writes the floor areas of every year,
// warehouse and month again into the results of the company and model each area row names. A
// company that cannot be reached is told once per run and gets no work at all. Template
// "BDRicalcolaValoriEsterni".
#include <set>

#include "kvznet/kvzdrivers/kvzappl/ConnessioneAzienda.h"
#include "kvznet/kvzdrivers/kvzdriversdbl/KvzDriversDblTables.h"
#include "platform/plvges/FormViews.h"

enum : UINT
{
	IDD_RICALCOLA_VALORI_ESTERNI = 31890,
	IDC_RICOSTR_STATO_ELAB = 53410,
	IDC_RICOSTR_SPIEGAZIONE = 53411,
};

class BDRicalcolaValoriEsterni : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(BDRicalcolaValoriEsterni, CAbstractFormDoc)
public:
	BDRicalcolaValoriEsterni() : m_Connessione(this) {}

	// The three steps of a run, in their order.
	void AzzeraValori_Ext();
	void AzzeraValori();
	void RiportaValori();
	// The company the next step works in, and the connection to it.
	BOOL ConnectDB();

	DataStr m_StatoElab;
	DataStr m_Spiegazione;
	DataStr m_Ditta;

protected:
	BOOL OnAttachData() override;
	void OnBatchExecute() override;

private:
	void Stato(LPCTSTR szTesto);

	KvzConnessioneAzienda m_Connessione;
	// The companies of this run that could not be reached, already told.
	std::set<CString> m_Irraggiungibili;
};

class BDRicalcolaValoriEsterniView : public CAbstractFormView
{
	DECLARE_DYNCREATE(BDRicalcolaValoriEsterniView, CAbstractFormView)
public:
	BDRicalcolaValoriEsterniView() : CAbstractFormView(_T("RicalcolaValoriEsterniView"), IDD_RICALCOLA_VALORI_ESTERNI) {}
	void BuildDataControlLinks() override;
};
