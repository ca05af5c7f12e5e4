#pragma once
// One month's formula of every extra-accounting code of a year (or of a range of codes) in one
// grid: the main formula or one of the ten further ones. Template "BDInsExtracontMensili".
#include <memory>
#include <set>

#include "kvznet/kvzmod/kvzdbl/Kvz_TCodExtracontabili.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodExtracontabiliTesta.h"
#include "kvznet/kvzmod/kvzdocuments/formule/Kvz_CUtilizzaFormuleDoc.h"
#include "platform/plvges/FormViews.h"

enum : UINT
{
	IDD_INSEXTRACONTMENSILI = 31850,
	IDC_INS_EXTRA_MESE = 52860,
	IDC_INS_EXTRA_PREC = 52861,
	IDC_INS_EXTRA_ANNO = 52862,
	IDC_INS_EXTRA_SUCC = 52863,
	IDC_INS_EXTRA_CONTATORI = 52864,
	IDC_INS_EXTRA_CODICE_DA = 52865,
	IDC_INS_EXTRA_CODICE_A = 52866,
	IDC_INS_EXTRA_USA_FORMULA_PRINC = 52867,
	IDC_INS_EXTRA_USA_FORMULA_COLONNA = 52868,
	IDC_INS_EXTRA_NR_COLONNA = 52869,
	IDC_INS_EXTRA_VISUALIZZA = 52870,
	IDC_INS_EXTRA_SALVA = 52871,
	IDC_INS_EXTRA_GRID = 52872,
	IDC_INS_EXTRA_COL_CODICE = 52873,
	IDC_INS_EXTRA_COL_DESCRIZIONE = 52874,
	IDC_INS_EXTRA_COL_FORMULA = 52875,
};

class Kvz_DBTExtracontMensile : public DBTSlaveBuffered
{
	DECLARE_DYNAMIC(Kvz_DBTExtracontMensile, DBTSlaveBuffered)
public:
	explicit Kvz_DBTExtracontMensile(CAbstractFormDoc* pDocument);
	Kvz_TEnhCodExtracontabili* GetCurrentRecord() const;
	Kvz_TEnhCodExtracontabili* GetRiga(int nRow) const
	{
		return static_cast<Kvz_TEnhCodExtracontabili*>(GetRow(nRow));
	}
};

class Kvz_ExtracontMensileEdit;

class Kvz_CInsExtracontMensiliDoc : public Kvz_CUtilizzaFormuleDoc
{
	DECLARE_DYNCREATE(Kvz_CInsExtracontMensiliDoc, Kvz_CUtilizzaFormuleDoc)
	DECLARE_MESSAGE_MAP()
public:
	Kvz_CInsExtracontMensiliDoc();

	// Loads the grid: the codes of the year in the range, each with its month's formula at the
	// chosen position (empty when the month row is missing).
	void RiempiDBTExtracont();
	// Writes every grid row into its month row at the position the grid was loaded from,
	// creating missing month rows, with the usage counters of the codes changed, in one
	// transaction. FALSE when nothing was written because of an error or a refusal.
	BOOL SalvaFormule();
	// TRUE when the caller may go on: nothing pending, or the user saved or discarded it.
	BOOL ChiediSalvataggio();

	void OnFormulaChanged() override;
	BOOL SaveModified() override;
	BOOL CanDoReport() override { return FALSE; }
	void DisableControlsForBatch() override;

	Kvz_DBTExtracontMensile* GetDBT() const { return m_pDBT.get(); }
	KVZ_HKLCodiciExtracont* GetHKLDa() const { return m_pHKLDa; }
	KVZ_HKLCodiciExtracont* GetHKLA() const { return m_pHKLA; }
	void SetGrid(Kvz_ExtracontMensileEdit* pGrid) { m_pGrid = pGrid; }
	// The formula position the grid shows (0 main, 1 to 10), -1 before any load.
	int GetPosizCaricata() const { return m_nPosizCaricata; }
	// The year the counters view opened from here shows.
	const DataInt& GetAnno() const { return m_Anno; }

	DataInt m_Anno;
	DataInt m_Mese;
	DataStr m_CodiceDa;
	DataStr m_CodiceA;
	DataInt m_NrColonna;
	DataBool m_bUsaFormulaPrinc;
	DataBool m_bUsaFormulaColonna;

protected:
	BOOL OnAttachData() override;

	void OnPrecedente();
	void OnSuccessivo();
	void OnAnnoChanged();
	void OnMeseChanged();
	void OnCodiceDaChanged();
	void OnFormulaPrincChanged();
	void OnVisualizza();
	void OnSalva();
	void OnContatori();
	void OnRigaChanged();

private:
	// The chosen position (0 main, 1 to 10); -1, said to the user, when the number is not 1 to 10.
	int PosizioneScelta();
	BOOL MeseValido(BOOL bAvvisa);
	void CambiaAnno(int nDelta);
	void ContestoRiga(const Kvz_TEnhCodExtracontabili& riga);
	// Recounts every formula of the code's twelve months (as stored) and writes its counters.
	BOOL RicontaCodice(const DataStr& aCodice);

	std::unique_ptr<Kvz_DBTExtracontMensile> m_pDBT;
	KVZ_HKLCodiciExtracont* m_pHKLDa = nullptr;
	KVZ_HKLCodiciExtracont* m_pHKLA = nullptr;
	Kvz_ExtracontMensileEdit* m_pGrid = nullptr;
	Kvz_TRCodExtracontabili m_TRCodExtracontabili;
	int m_nPosizCaricata = -1;
	std::set<CString> m_CodiciModificati;
};

class Kvz_ExtracontMensileEdit : public CBodyEdit
{
	DECLARE_DYNCREATE(Kvz_ExtracontMensileEdit, CBodyEdit)
public:
	void Customize() override;
};

class Kvz_CInsExtracontMensiliView : public CMasterFormView
{
	DECLARE_DYNCREATE(Kvz_CInsExtracontMensiliView, CMasterFormView)
public:
	Kvz_CInsExtracontMensiliView()
		: CMasterFormView(_T("CInsExtracontMensiliView"), IDD_INSEXTRACONTMENSILI)
	{
	}
	void BuildDataControlLinks() override;
};

// The formula at a position (0 main, 1 to 10) of a month row; null for another position.
DataStr* Kvz_FormulaMese(Kvz_TCodExtracontabili& rec, int nPosiz);
