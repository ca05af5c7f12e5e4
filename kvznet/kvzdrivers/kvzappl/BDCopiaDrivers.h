#pragma once
// "Copia drivers": copies the cost drivers of a year (all, or a range of codes) into the
// application's year, with their target models, cost lines, increments and the formula symbols
// each driver owns, the year references inside the copies rewritten. Rows the target year has
// already are left alone unless rewriting is asked for. A year onto itself is refused.
// Template "CopiaDrivers".
#include "kvznet/kvzdrivers/kvzdriversdbl/KvzDriversDblTables.h"
#include "platform/plvges/FormViews.h"

enum : UINT
{
	IDD_COPIA_DRIVERS = 31895,
	IDC_COPIA_DRIVERS_ESERCIZIO = 53405,
	IDC_COPIA_DRIVERS_TUTTI = 40014,
	IDC_COPIA_DRIVERS_RISCRIVERE = 40016,
	IDC_COPIA_DRIVERS_DAL_CODICE = 53401,
	IDC_COPIA_DRIVERS_DESCRI_DAL = 53402,
	IDC_COPIA_DRIVERS_AL_CODICE = 53403,
	IDC_COPIA_DRIVERS_DESCRI_AL = 53404,
	IDC_COPIA_DRIVERS_STATO = 53406,
	IDC_COPIA_DRIVERS_SPIEGAZIONE = 53407,
};

class BDCopiaDrivers : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(BDCopiaDrivers, CAbstractFormDoc)
	DECLARE_MESSAGE_MAP()
public:
	BDCopiaDrivers();

	// The four copy passes, in their order.
	void EffettuaCopiaTeste();
	void EffettuaCopiaModelli();
	void EffettuaCopiaCosti();
	void EffettuaCopiaIncrementi();
	// Deletes a driver's symbols of the target year from every symbol table, then copies those
	// of the year to copy from.
	void CopiaSimboli(const DataStr& aDriver);

	HKLKvzDriversTesta* GetHKLDal() const { return m_pHKLDal; }
	HKLKvzDriversTesta* GetHKLAl() const { return m_pHKLAl; }

	DataStr m_StatoElab;
	DataStr m_Spiegazione;
	DataInt m_EsercizioDaCopiare;
	DataInt m_EsercizioTarget;
	DataStr m_DalCodice;
	DataStr m_AlCodice;
	DataBool m_Tutti;
	DataBool m_Riscrivere;

protected:
	BOOL OnAttachData() override;
	void DisableControlsForBatch() override;
	void OnBatchExecute() override;

	void OnTuttiChanged();
	void OnEsercizioChanged();

private:
	// The source rows of the year to copy from (of the code range unless all) onto the target
	// year, found there by the key columns named; a row found is skipped unless rewriting.
	// After each row written, dopo(source row).
	template <class Rec>
	void Passo(LPCTSTR szStato, std::initializer_list<std::pair<LPCTSTR, LPCTSTR>> chiavi,
			   void (*adatta)(BDCopiaDrivers&, Rec&), void (BDCopiaDrivers::*dopo)(const Rec&));
	void CopiaSimboliTesta(const TKvzDriversTesta& aTesta) { CopiaSimboli(aTesta.f_ModelloDrivers); }
	void Stato(LPCTSTR szTesto);

	HKLKvzDriversTesta* m_pHKLDal = nullptr;
	HKLKvzDriversTesta* m_pHKLAl = nullptr;
};

class CopiaDriversView : public CAbstractFormView
{
	DECLARE_DYNCREATE(CopiaDriversView, CAbstractFormView)
public:
	CopiaDriversView() : CAbstractFormView(_T("CopiaDriversView"), IDD_COPIA_DRIVERS) {}
	void BuildDataControlLinks() override;
};
