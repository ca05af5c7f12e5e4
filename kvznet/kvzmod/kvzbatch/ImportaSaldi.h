#pragma once
// Ledger-balance import: the host ledger's balances of a fiscal year, month by month up to a
// chosen month, grouped into the module's grouped accounts, split over cost centres and jobs
// where the grouping asks for it, and stored in the base plan. In preview mode the grouped
// chart of accounts is built without changing any table of the module.
#include <array>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "platform/erp/erpbasedbl/TChartOfAccountParameters.h"
#include "platform/plvges/FormViews.h"

// One month of a grouped account or split: the ledger amount and the forecast amount.
class Kvz_SaldoMensileElem
{
public:
	double m_Saldo = 0.0;
	double m_Previsionale = 0.0;
};
using Kvz_MesiArray = std::vector<Kvz_SaldoMensileElem>;

// A cost centre (kind item 0) or job (item 1) of a grouped account.
class Kvz_CdcCommContoKvzElem
{
public:
	CString m_Codice;
	WORD m_Tipo = 0;
	CString m_Descrizione;
	double m_Perc = 0.0;
	Kvz_MesiArray m_Mesi;
};

class Kvz_ContoKvzElem
{
public:
	// The split of a code and kind, appended when missing.
	Kvz_CdcCommContoKvzElem* TrovaCdcComm(const CString& strCodice, WORD nTipo) const;
	Kvz_CdcCommContoKvzElem* AggiungiCdcComm(const CString& strCodice, WORD nTipo, const CString& strDescrizione,
											 double dPerc, int nMesi);

	CString m_Codice;
	CString m_Descrizione;
	BOOL m_ProponiInAssest = FALSE;
	BOOL m_ModifInAssest = FALSE;
	CString m_ContoCollegato;
	CString m_DescrContoCollegato;
	BOOL m_UltimoLivello = FALSE;
	CString m_Padre;
	BOOL m_InversioneSegno = FALSE;
	CString m_CodiceBudget;
	Kvz_MesiArray m_Mesi;
	std::vector<std::unique_ptr<Kvz_CdcCommContoKvzElem>> m_CdcComm;  // in the order met

private:
	std::map<std::pair<WORD, std::string>, Kvz_CdcCommContoKvzElem*> m_CdcIndex;
};

// A host ledger with its grouped accounts (every level, parents before their children).
class Kvz_MastroElem
{
public:
	Kvz_ContoKvzElem* Trova(const CString& strCodice) const;
	BOOL IsPatrimoniale() const { return m_TipoConto == 1; }
	// Liabilities and revenues are kept with the opposite sign.
	BOOL InverteSegno() const { return m_Natura == 1 || m_Natura == 4; }

	CString m_Codice;
	CString m_Descrizione;
	BOOL m_ProponiInAssest = FALSE;
	WORD m_TipoConto = 0;  // 0 economic, 1 balance sheet
	WORD m_Natura = 0;     // the host ledger's type, item for item
	int m_LenRaggr = 0;    // length of the grouped codes
	std::vector<std::unique_ptr<Kvz_ContoKvzElem>> m_Conti;
	std::unordered_map<std::string, Kvz_ContoKvzElem*> m_Index;
};
using Kvz_MastriArray = std::vector<std::unique_ptr<Kvz_MastroElem>>;

// A row of the preview of the grouped chart of accounts: a grouped account (empty centre or
// job) or one of its splits.
class Kvz_ContoKvzElemForPreview
{
public:
	CString m_Conto;
	CString m_Descrizione;
	CString m_CdcComm;
	CString m_DescrCdcComm;
	double m_Perc = 0.0;
	BOOL m_ProponiInAssest = FALSE;
	BOOL m_ModifInAssest = FALSE;
	CString m_ContoCollegato;
	CString m_DescrContoCollegato;
	BOOL m_UltimoLivello = FALSE;
};
using Kvz_ContiKvzArrayForPreview = std::vector<Kvz_ContoKvzElemForPreview>;

class Kvz_CImportaSaldiDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_CImportaSaldiDoc, CAbstractFormDoc)
public:
	Kvz_CImportaSaldiDoc();
	~Kvz_CImportaSaldiDoc() override;

	BOOL OnAttachData() override;
	void OnBatchExecute() override;
	// The form stays as it is while the batch runs.
	void DisableControlsForBatch() override {}

	// The reports the import hands its lists to, and the name reports open the import by.
	static constexpr const char* kReportPreview = "KvzNet.KvzMod.PreviewPdCRaggr";
	static constexpr const char* kReportContiNonUsati = "KvzNet.KvzMod.ContiNonUsati";
	static constexpr const char* kNamespaceReport = "KvzNet.KvzMod.KvzBatch.CImportaSaldiDoc";

	// The report command: only a preview with rows has something to print.
	BOOL CanDoReport() override { return !m_Preview_Righe.empty(); }

	// Rows read back by the reports, one per call; FALSE past the last one.
	DataBool Kvz_GetContoPreview(const DataInt& nIdx, DataStr& conto, DataStr& descrizione, DataStr& cdcComm,
								 DataStr& descrCdcComm, DataBool& proponi, DataBool& modificabile, DataStr& collegato,
								 DataStr& descrCollegato, DataBool& ultimoLivello, DataPerc& perc);
	DataBool Kvz_GetContoUnused(const DataInt& nIdx, DataStr& conto, DataStr& descrizione);
	const Kvz_ContiKvzArrayForPreview& GetPreview() const { return m_Preview_Righe; }

	// The parent of a grouped code: the code cut to the level above, empty for a ledger.
	CString EstraiContoPadre(const CString& strConto) const;

	// What the last run found (the tree stays after a preview, until the next run).
	const Kvz_MastriArray& GetMastri() const { return m_Mastri; }
	int GetEsercizio() const { return m_Esercizio; }
	int GetNrMesi() const { return m_nMesi; }
	long GetContiElaborati() const { return m_nContiElaborati; }
	long GetSenzaPatrimoniale() const { return m_nSenzaPatrimoniale; }

	// ---- parameters (the form's controls) ----------------------------------------------------
	DataInt m_Mese;
	DataInt m_Anno;
	DataBool m_Preview;
	DataBool m_Importazione;
	DataBool m_Previsionale;
	DataBool m_RiportaCdcComm;
	DataStr m_StatoElab;
	DataDate m_DataUltImport;

	// A grouping row as the run uses it.
	struct Raggruppamento
	{
		int nLivello = 1;  // the level flag set (1 to 8)
		BOOL bProponi = FALSE;
		BOOL bModifica = FALSE;
		BOOL bEsplodi = FALSE;
		WORD nTipoDettaglio = 0;
		CString strContoPatrimoniale;
		BOOL bInversioneSegno = FALSE;
		BOOL bEscludi = FALSE;
		CString strCodiceBudget;
		BOOL bEscludere = FALSE;
	};
	// A host account as the run uses it.
	struct ContoHost
	{
		CString strConto;
		CString strDescrizione;
		CString strMastro;
		BOOL bConSaldi = FALSE;
		BOOL bEscluso = FALSE;
	};

protected:
	BOOL ControllaPeriodo();
	void InitAnagContiKvz();
	void ImportazioneSaldi();
	void CaricaDatiHost();
	void ElaboraConto(const ContoHost& conto, const Raggruppamento& raggr);
	void NuovoMastro(const ContoHost& conto, const Raggruppamento& raggr);
	void ImportaConto(const ContoHost& conto, const Raggruppamento& raggr);
	Kvz_ContoKvzElem* TrovaCreaContoKvz(const CString& strCodice, BOOL bUltimoLivello, const ContoHost& conto);
	void LeggiSaldiAnalitici(const ContoHost& conto, const Raggruppamento& raggr, Kvz_ContoKvzElem* pConto);
	void LeggiCdcCommAnnoPrec(Kvz_ContoKvzElem* pConto);
	void ProgressiviPrevisionale();
	void CancellaCdcCommAssentiInTabella();
	void VerificaPianoBase();
	void AggiornaDataUltimaImportazione();

	// Storing: grouped accounts, splits and base plans.
	void MemorizzaSaldi();
	void CancellaSaldiContabili(const CString& strConto);
	void PrevisionaliSuCollegati();
	void CancellaAssestamentiPrevisionali();
	void AggiornaSaldiVariati();
	// The preview rows of the tree, sorted; then its report.
	void CostruisciPreview();
	void EseguiReport(LPCTSTR lpszNamespace);

	int LenRaggruppamento(const Raggruppamento& raggr) const;
	const Raggruppamento* TrovaRaggruppamento(const CString& strConto) const;
	CString DescrizioneHost(const CString& strConto) const;
	BOOL IsImportazione() const { return !m_Preview; }
	void ShowSqlError(const SqlException& e, const char* method);

	TChartOfAccountParameters m_ParametriPdC;
	int m_Len[8] = {};  // length of codes of level 1 (the ledger) to 8

	int m_Esercizio = 0;
	int m_nMesi = 0;
	DataDate m_DataApertura;
	DataDate m_DataFine;
	long m_nContiElaborati = 0;
	long m_nSenzaPatrimoniale = 0;  // economic accounts without a linked balance-sheet account
	BOOL m_bErrore = FALSE;  // a database error was shown during the run
	BOOL m_bSaldiVariatiScritti = FALSE;  // the changed-balance marks went with what was stored
	Kvz_MastriArray m_Mastri;
	Kvz_MastroElem* m_pMastro = nullptr;
	Kvz_ContiKvzArrayForPreview m_Preview_Righe;
	// Grouped accounts proposed in adjustments that no base-plan symbol names: code, description.
	std::vector<CString> m_ContiNonUsati;
	std::vector<CString> m_DescrContiNonUsati;

	// The host's data and the module's grouping, read once per run.
	std::unordered_map<std::string, Raggruppamento> m_Raggruppamenti;
	std::unordered_map<std::string, CString> m_DescrConti;
	std::unordered_map<std::string, std::pair<CString, WORD>> m_Mastri_Host;  // description, type item
	std::unordered_map<std::string, CString> m_DescrCentri;
	std::unordered_map<std::string, CString> m_DescrCommesse;
	// Splits of the fiscal year already stored (account, kind, code), and last year's by account.
	struct CdcCommAnnoPrec
	{
		CString strCentroCommessa;
		WORD nTipo = 0;
		CString strDescrizione;
		BOOL bInseritoManualmente = FALSE;
		double dPerc = 0.0;
		CString strNota;
		BOOL bInseritoDaSimbolo = FALSE;
		double dPercBudget = 0.0;
	};
	std::set<std::tuple<std::string, WORD, std::string>> m_CdcCommAnno;
	std::unordered_map<std::string, std::vector<CdcCommAnnoPrec>> m_CdcCommAnnoPrec;
	std::set<std::string> m_CdcCommRiportati;  // the grouped accounts whose splits were carried
	// The cursor over the cost-accounting entries of one account, prepared once per run.
	class CursoreMovimenti;
	std::unique_ptr<CursoreMovimenti> m_pMovimenti;
	// The year's ledger and forecast movements of every host account, in cents by month, read
	// once by the import (by upper-case account code).
	std::map<std::string, std::array<long long, 12>> m_SaldiHost, m_PrevisionaliHost;
};

class Kvz_CImportaSaldiView : public CMasterFormView
{
	DECLARE_DYNCREATE(Kvz_CImportaSaldiView, CMasterFormView)
public:
	Kvz_CImportaSaldiView() : CMasterFormView(_T("ImportaSaldi"), 31802) {}
	void BuildDataControlLinks() override;
};
