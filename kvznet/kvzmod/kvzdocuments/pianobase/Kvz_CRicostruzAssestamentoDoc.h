#pragma once
// Rebuild of a year's base plan from itself, in up to three steps: the adjustments of economic
// accounts carried (as running totals) onto their linked balance-sheet accounts; the balances
// and adjustments of the lowest-level accounts summed into every account above them (after a
// backup of every row of the year); the cost centres and jobs that no symbol names, with no split
// percentage and no adjusted total, removed. Template "BDRicostruzAssestamento".
#include <memory>
#include <set>
#include <string>
#include <unordered_map>

#include "kvznet/kvzmod/kvzdbl/Kvz_TParametri.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseTesta.h"
#include "platform/plvgeneric/Array.h"
#include "platform/plvges/FormViews.h"

enum : UINT
{
	IDD_RICOSTRUZ_ASSESTAMENTO = 53100,
	IDC_RICOSTR_PATRIMONIALI = 53101,
	IDC_RICOSTR_MASTRI_MASTRINI,
	IDC_ANNULLA_CENTRI_COMM_NON_SEL,
	IDC_RICOSTR_ESERC,
	IDC_RICOSTR_STATO_ELAB,
};

// A grouped account of the year with its monthly values (index 0: January).
class Kvz_Conto : public CObject
{
	DECLARE_DYNAMIC(Kvz_Conto, CObject)
public:
	DataStr m_Codice;
	DataStr m_Descrizione;
	DataStr m_Padre;
	DataBool m_Foglia;
	double m_Saldi[12] = {};
	double m_Assestamenti[12] = {};
	double m_Totali[12] = {};
};

// The accounts in the order they were added; owns them.
class Kvz_AlberoDeiConti : public Array
{
	DECLARE_DYNAMIC(Kvz_AlberoDeiConti, Array)
public:
	Kvz_Conto* GetConto(int i) const { return static_cast<Kvz_Conto*>(GetAt(i)); }
};

class Kvz_CRicostruzAssestamentoDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_CRicostruzAssestamentoDoc, CAbstractFormDoc)
public:
	Kvz_CRicostruzAssestamentoDoc();
	~Kvz_CRicostruzAssestamentoDoc() override;

	BOOL OnAttachData() override;
	void OnBatchExecute() override;
	// The form stays as it is while the batch runs.
	void DisableControlsForBatch() override {}
	BOOL CanDoReport() override { return FALSE; }

	// The parent of a code: the code cut to the end of the segment before its last one; empty
	// for a ledger-level code (or a code shorter than the first segment's end).
	static DataStr CalcolaContoPadre(const DataStr& aConto, const Kvz_TParametri& aParametri);
	// The first base-plan head of the year and account (the account's own: no centre, kind
	// item 0), or of one of its centres/jobs; -1 when there is none.
	DataLng CercaIDPianoBase(const DataInt& aEsercizio, const DataStr& aConto);
	DataLng CercaIDPianoBase(const DataStr& aConto, const DataEnum& aTipo, const DataStr& aCdcComm);

	const Kvz_AlberoDeiConti& GetAlbero() const { return m_Albero; }

	DataInt m_Esercizio;
	DataBool m_RicostrMastri;
	DataBool m_RicostrPatrimoniali;
	DataBool m_AnnullaCentriComm;
	DataStr m_StatoElab;

protected:
	void RicostruzionePatrimoniali();
	void RicostruzioneMastri();
	void AnnullaCentrCommNonSel();
	void CancellaRateiPatrimoniali();
	void AlberoDeiConti();
	void BkpSaldi();
	// Writes the accounts of the tree that are not leaves, or those given.
	void AggiornaPianoBase(BOOL bSaldo, const std::set<int>* pSoli = nullptr);
	// Adds a leaf's months to its nearest existing ancestor and on up (noting each one written).
	void SalvaContoPadre(const DataStr& aPadre, const Kvz_Conto& aFoglia, std::set<int>* pScritti = nullptr);
	// The account itself when it is a leaf, else the first leaf below it; -1 when none.
	int PrimaFogliaSotto(int nConto) const;

private:
	BOOL Interrotto() { return GetScheduler()->IsAborted(); }
	// The status line; shown as progress only now and then on long lists (nIdx of nTot).
	void Stato(const CString& strTesto, int nIdx = 0, int nTot = 0);
	// Shows a database error; the run goes on, and ends saying it met errors.
	void MostraErrore(const SqlException& e, const char* szMetodo);
	DataLng CercaTesta(const DataInt& aEsercizio, const DataStr& aConto, const DataEnum& aTipo, const DataStr& aCdcComm);

	int m_nErrori = 0;  // database errors met by the current run
	BOOL m_bMancantiDetti = FALSE;  // the missing levels were said in this run
	Kvz_TParametri m_Parametri;
	Kvz_AlberoDeiConti m_Albero;
	// Code of every account that has accounts below it, to its position in the tree.
	std::unordered_map<std::string, int> m_Padri;
	// Code of every account of the tree, to its position.
	std::unordered_map<std::string, int> m_Posizioni;
	std::unique_ptr<SqlTable> m_pTblTesta;
	Kvz_TPianoBaseTesta m_RecTesta;
};

class Kvz_CRicostruzAssestamentoView : public CMasterFormView
{
	DECLARE_DYNCREATE(Kvz_CRicostruzAssestamentoView, CMasterFormView)
public:
	Kvz_CRicostruzAssestamentoView()
		: CMasterFormView(_T("CRicostruzAssestamentoView"), IDD_RICOSTRUZ_ASSESTAMENTO)
	{
	}
	void BuildDataControlLinks() override;
};
