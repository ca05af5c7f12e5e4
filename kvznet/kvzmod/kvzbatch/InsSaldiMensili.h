#pragma once
// Entry of monthly balances: for one year and month the balance of each grouped account and of
// each of its cost centres and jobs, checked against each other and written into the base
// plan (heads and their twelve months, with the accruals of each month). No batch procedure:
// the work happens in the form's handlers.
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "kvznet/kvzmod/kvzcomponents/GestIds.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCentriCommesseContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseTesta.h"
#include "platform/plvges/FormViews.h"

enum : UINT
{
	IDD_INS_SALDI_MENSILI = 31900,
	IDC_INS_SAL_ANNO_PREC = 31901,
	IDC_INS_SAL_ANNO,
	IDC_INS_SAL_ANNO_SUCC,
	IDC_INS_SAL_MESE,
	IDC_INS_SAL_TIPO_CONTO_ECON,
	IDC_INS_SAL_TIPO_CONTO_PATRIM,
	IDC_INS_SAL_TIPO_CONTO_TUTTI,
	IDC_INS_SAL_TUTTI,
	IDC_INS_SAL_MANUALI,
	IDC_INS_SAL_INTERROGA,
	IDC_INS_SAL_TOT_COSTI,
	IDC_INS_SAL_TOT_RICAVI,
	IDC_INS_SAL_DELTA_COSTI_RICAVI,
	IDC_INS_SAL_TOT_ATTIVITA,
	IDC_INS_SAL_TOT_PASSIVITA,
	IDC_INS_SAL_DELTA_ATT_PASS,
	IDC_INS_SAL_TOT_CONTO,
	IDC_INS_SAL_TOT_COMMESSE,
	IDC_INS_SAL_DELTA_COMMESSE,
	IDC_INS_SAL_TOT_CENTRI,
	IDC_INS_SAL_DELTA_CENTRI,
	IDC_INS_SAL_FORZATURA,
	IDC_INS_SAL_SALVA,
	IDC_INS_SAL_GRID_CONTI,
	IDC_INS_SAL_CONTI_NATURA,
	IDC_INS_SAL_CONTI_CONTO,
	IDC_INS_SAL_CONTI_DESCRIZIONE,
	IDC_INS_SAL_CONTI_SALDO,
	IDC_INS_SAL_GRID_CENTRI,
	IDC_INS_SAL_CENTRI_TIPO,
	IDC_INS_SAL_CENTRI_CODICE,
	IDC_INS_SAL_CENTRI_DESCRIZIONE,
	IDC_INS_SAL_CENTRI_PERC,
	IDC_INS_SAL_CENTRI_SALDO,
	IDC_INS_SAL_CENTRI_NOTA,
};

class Kvz_DBTSelContiInsSaldi : public DBTSlaveBuffered
{
	DECLARE_DYNAMIC(Kvz_DBTSelContiInsSaldi, DBTSlaveBuffered)
public:
	explicit Kvz_DBTSelContiInsSaldi(CAbstractFormDoc* pDocument);
	Kvz_TEnhAnagContiKvz* GetConto(int nRow) const { return static_cast<Kvz_TEnhAnagContiKvz*>(GetRow(nRow)); }
};

class Kvz_DBTSelezCdcCommInsSaldi : public DBTSlaveBuffered
{
	DECLARE_DYNAMIC(Kvz_DBTSelezCdcCommInsSaldi, DBTSlaveBuffered)
public:
	explicit Kvz_DBTSelezCdcCommInsSaldi(CAbstractFormDoc* pDocument);
	Kvz_TEnhCentriCommesseContiKvz* GetCdcComm(int nRow) const
	{
		return static_cast<Kvz_TEnhCentriCommesseContiKvz*>(GetRow(nRow));
	}
};

// The cost centres and jobs of one account as last shown or edited; empty: never shown.
using Kvz_SaldiCdcComm = std::vector<std::unique_ptr<Kvz_TEnhCentriCommesseContiKvz>>;

class Kvz_SelContiInsSaldiEdit;
class Kvz_SelezCdcCommInsSaldiEdit;

class Kvz_CInsSaldiMensiliDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_CInsSaldiMensiliDoc, CAbstractFormDoc)
	DECLARE_MESSAGE_MAP()
public:
	Kvz_CInsSaldiMensiliDoc();
	~Kvz_CInsSaldiMensiliDoc() override;

	BOOL OnAttachData() override;
	BOOL CanDoReport() override { return FALSE; }
	void DisableControlsForBatch() override {}
	BOOL SaveModified() override;

	// Refills the accounts grid for the shown year and month (the cache emptied).
	void RiempiDBTConti();
	// The centres grid of the current account: from its cache entry, else from the register.
	void RiempiDBTCentriComm();
	// Writes the changed rows (every row with the force box) into the saved year and month, in
	// one transaction. FALSE when something was not written (the user was told what).
	BOOL SalvaSaldi();
	// TRUE when the caller may go on: nothing pending, or the user saved or discarded it.
	BOOL ChiediSalvataggio();

	// Spreads a head's accruals onto one month row.
	static void CalcolaRateoMese(const Kvz_TPianoBaseTesta& testa, Kvz_TPianoBaseRighe& riga);
	// An amount times a percentage, to the cent (half away from zero).
	static double QuotaPercentuale(double dImporto, double dPerc);

	Kvz_DBTSelContiInsSaldi* GetDBTConti() const { return m_pDBTConti.get(); }
	Kvz_DBTSelezCdcCommInsSaldi* GetDBTCentri() const { return m_pDBTCentri.get(); }
	const Kvz_SaldiCdcComm& GetCache(int nConto) const { return m_Cache[static_cast<size_t>(nConto)]; }
	void SetGrids(Kvz_SelContiInsSaldiEdit* pConti, Kvz_SelezCdcCommInsSaldiEdit* pCentri)
	{
		m_pGridConti = pConti;
		m_pGridCentri = pCentri;
	}

	DataInt m_Anno;
	DataInt m_Mese;
	DataInt m_AnnoSalvato;
	DataInt m_MeseSalvato;
	DataBool m_Economici;
	DataBool m_Patrimoniali;
	DataBool m_TuttiTipi;
	DataBool m_TuttiConti;
	DataBool m_SoloManuali;
	DataMon m_TotCosti;
	DataMon m_TotRicavi;
	DataMon m_DeltaCostiRicavi;
	DataMon m_TotAttivita;
	DataMon m_TotPassivita;
	DataMon m_DeltaAttPass;
	DataMon m_TotConto;
	DataMon m_TotCommesse;
	DataMon m_DeltaCommesse;
	DataMon m_TotCentri;
	DataMon m_DeltaCentri;
	DataBool m_Modificato;
	DataBool m_Forzatura;

protected:
	void OnContoChanged();
	void OnCentroChanged();
	void OnAnnoPrec();
	void OnAnnoSucc();
	void OnAnnoChanged();
	void OnMeseChanged();
	void OnInterroga();
	void OnSaldoContoChanged();
	void OnSaldoCentroChanged();
	void OnPercCentroChanged();
	void OnNotaCentroChanged();
	void OnSalva();

private:
	void CambiaAnno(int nDelta);
	BOOL MeseDaMostrare();
	int ContoCorrente() const;
	void CalcolaTotaliConti();
	void CalcolaQuadratura();
	// The grid's current centres row into the account's cache entry, marked changed.
	void MemorizzaCentro(int nRiga);
	// Writes a centres row's percentage or note at once.
	void AggiornaCentro(BOOL bPerc);

	// One account (pCdc null) or one of its centres/jobs into the saved period: its head (made
	// when missing), its month row, then the months it lacks. FALSE when it was not written.
	BOOL AggiornaPianoBase(const Kvz_TEnhAnagContiKvz& conto, Kvz_TEnhCentriCommesseContiKvz* pCdc, DataLng& idPBase,
						   const DataMon& saldo);
	void AggiornaRigaPianoBase(const DataLng& id, const DataMon& saldo, const Kvz_TEnhAnagContiKvz& conto,
							   const DataStr& cdc, const DataEnum& tipo);
	// bNuova: the head was just made, with the saved month only.
	void RiempiBuchiDelPianoBase(const DataLng& id, BOOL bNuova);
	// The head of the saved year, account, centre and kind (the lowest id, as the grid takes it);
	// -1 when there is none. Looked up once per save: the save keeps what it found and made.
	long CercaTestaSalvata(const DataStr& conto, const DataStr& cdc, const DataEnum& tipo);
	using ChiaveTesta = std::tuple<std::string, std::string, WORD>;
	static ChiaveTesta Chiave(const DataStr& conto, const DataStr& cdc, const DataEnum& tipo);
	std::map<ChiaveTesta, long> m_TesteCercate;
	// The head by id, read through the head reader; FALSE when missing.
	BOOL LeggiTesta(const DataLng& id);

	std::unique_ptr<Kvz_DBTSelContiInsSaldi> m_pDBTConti;
	std::unique_ptr<Kvz_DBTSelezCdcCommInsSaldi> m_pDBTCentri;
	Kvz_SelContiInsSaldiEdit* m_pGridConti = nullptr;
	Kvz_SelezCdcCommInsSaldiEdit* m_pGridCentri = nullptr;
	std::vector<Kvz_SaldiCdcComm> m_Cache;

	// The save's cursors, on the updatable session, prepared once per save.
	Kvz_TPianoBaseTesta m_RecPBaseTesta;
	Kvz_TEnhPianoBaseRighe m_RecPBaseRighe;
	std::unique_ptr<SqlTable> m_pTblTesta;
	std::unique_ptr<SqlTable> m_pTblRighe;
	std::unique_ptr<SqlTable> m_pTblMesi;
	std::unique_ptr<SqlTable> m_pTblCerca;
	Kvz_TPianoBaseTesta m_RecCerca;
	Kvz_TPianoBaseRighe m_RecMese;
	Jex_TRPianoBaseTesta m_TRPianoBaseTesta;
	std::unique_ptr<Kvz_IDManager> m_pIdMng;
	std::unique_ptr<Kvz_NumNonFiscManager> m_pNumMng;
	// During a save: the ids and numbers of the heads it will make, taken at once.
	std::unique_ptr<Kvz_NumeriPianoBase> m_pNumeri;
	int m_nNonScritti = 0;  // rows of the running save that were not written
};

class Kvz_SelContiInsSaldiEdit : public CBodyEdit
{
	DECLARE_DYNCREATE(Kvz_SelContiInsSaldiEdit, CBodyEdit)
public:
	void Customize() override;
};

class Kvz_SelezCdcCommInsSaldiEdit : public CBodyEdit
{
	DECLARE_DYNCREATE(Kvz_SelezCdcCommInsSaldiEdit, CBodyEdit)
public:
	void Customize() override;
};

class Kvz_CInsSaldiMensiliView : public CMasterFormView
{
	DECLARE_DYNCREATE(Kvz_CInsSaldiMensiliView, CMasterFormView)
public:
	Kvz_CInsSaldiMensiliView() : CMasterFormView(_T("Kvz_CInsSaldiMensiliView"), IDD_INS_SALDI_MENSILI) {}
	void BuildDataControlLinks() override;
};
