#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_AssestamentoFiglioDoc.h"

#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_CAssestamentoDoc.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvnamesolver/ApplicationContext.h"

Kvz_AssestamentoFiglioDoc::Kvz_AssestamentoFiglioDoc()
	: m_bChiediChiusura(TRUE), m_bModificato(FALSE), m_bCaricamento(FALSE), m_bEditabile(FALSE)
{
}

CString Kvz_AssestamentoFiglioDoc::Testo(LPCTSTR sz) const
{
	return AfxLoadSourceString(sz, Sorgente());
}

void Kvz_AssestamentoFiglioDoc::AbilitaChiamante(Kvz_CAssestamentoDoc& aChiamante, BOOL bAbilita)
{
	if (aChiamante.GetMasterFrame())
		aChiamante.GetMasterFrame()->EnableWindow(bAbilita);
}

BOOL Kvz_AssestamentoFiglioDoc::OnOpenDocument(const DocInvocationInfo* pInfo)
{
	// Opened alone it has nothing to work on; opened by another document, that is a fault.
	if (!pInfo || !pInfo->m_pCallerDocument)
		return FALSE;
	auto* pChiamante = dynamic_cast<Kvz_CAssestamentoDoc*>(pInfo->m_pCallerDocument);
	if (!pChiamante)
	{
		ASSERT_RELEASE_FAILED("pChiamante", (CString(Sorgente()) + "::OnOpenDocument").GetString(), Sorgente());
		return FALSE;
	}
	if (!PrendiDalChiamante(*pChiamante))
		return FALSE;
	m_pChiamante = pChiamante;
	m_bEditabile = !pChiamante->m_SoloLettura;
	AbilitaChiamante(*pChiamante, FALSE);
	if (CAbstractFormDoc::OnOpenDocument(pInfo))
		return TRUE;
	AbilitaChiamante(*pChiamante, TRUE);
	m_pChiamante = nullptr;
	return FALSE;
}

void Kvz_AssestamentoFiglioDoc::OnCloseDocument()
{
	if (m_pChiamante && AfxExistWebServiceStateObject(m_pChiamante))
	{
		AbilitaChiamante(*m_pChiamante, TRUE);
		m_pChiamante->UpdateDataView();
		m_pChiamante->Activate(nullptr, FALSE);
		SganciaDalChiamante(*m_pChiamante);
	}
	m_pChiamante = nullptr;
	CAbstractFormDoc::OnCloseDocument();
}

BOOL Kvz_AssestamentoFiglioDoc::SaveModified()
{
	if (!m_bChiediChiusura || !m_bModificato)
		return CAbstractFormDoc::SaveModified();
	switch (AfxMessageBox(Testo(_T("Modifiche non ancora salvate. Le salvo?")), MB_YESNOCANCEL | MB_ICONQUESTION))
	{
	case IDCANCEL: return FALSE;
	case IDYES: RiportaAlChiamante(); break;
	default: break;
	}
	return CAbstractFormDoc::SaveModified();
}

void Kvz_AssestamentoFiglioDoc::OnCancellaTutto()
{
	if (AfxMessageBox(Testo(_T("Conferma cancellazione?")), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
		return;
	m_bModificato = TRUE;
	SvuotaRighe();
	UpdateDataView();
}

void Kvz_AssestamentoFiglioDoc::OnAnnulla()
{
	Chiudi(TRUE);
}

void Kvz_AssestamentoFiglioDoc::Chiudi(BOOL bChiedi)
{
	m_bChiediChiusura = bChiedi;
	CloseDocument(TRUE);
}
