#pragma once
// What the adjustments document's child documents share (the detail lines of a month, the spread
// over the months): they work on the caller's current row, whose frame stays disabled while they
// are open. Confirmed, their changes go back into the caller, which saves them; closed with
// changes, they ask whether to take them back first.
#include "platform/plvges/CAbstractFormDoc.h"

class Kvz_CAssestamentoDoc;

class Kvz_AssestamentoFiglioDoc : public CAbstractFormDoc
{
	DECLARE_DYNAMIC(Kvz_AssestamentoFiglioDoc, CAbstractFormDoc)
public:
	BOOL OnOpenDocument(const DocInvocationInfo* pInfo) override;
	void OnCloseDocument() override;
	BOOL SaveModified() override;
	BOOL CanDoReport() override { return FALSE; }

	// The changes go back into the caller.
	virtual void RiportaAlChiamante() = 0;
	// The caller closed first.
	void StaccaChiamante() { m_pChiamante = nullptr; }
	Kvz_CAssestamentoDoc* GetChiamante() const { return m_pChiamante; }

	DataBool m_bChiediChiusura;
	DataBool m_bModificato;
	DataBool m_bCaricamento;
	DataBool m_bEditabile;

protected:
	Kvz_AssestamentoFiglioDoc();

	// The source the texts are loaded under.
	virtual const char* Sorgente() const = 0;
	// What is taken from the caller before the form opens; FALSE: it does not open.
	virtual BOOL PrendiDalChiamante(Kvz_CAssestamentoDoc& aChiamante) = 0;
	// The caller forgets this child.
	virtual void SganciaDalChiamante(Kvz_CAssestamentoDoc& aChiamante) = 0;
	// "Cancella tutto" confirmed: the rows go, the totals follow.
	virtual void SvuotaRighe() = 0;

	CString Testo(LPCTSTR sz) const;
	void OnCancellaTutto();
	void OnAnnulla();
	// Closes; bChiedi: the save question guards the changes.
	void Chiudi(BOOL bChiedi);

	Kvz_CAssestamentoDoc* m_pChiamante = nullptr;

private:
	void AbilitaChiamante(Kvz_CAssestamentoDoc& aChiamante, BOOL bAbilita);
};
