#include "kvznet/kvzmod/kvzdocuments/simboli/CModelliRigheMultiAzDoc.h"

#include "kvznet/kvzmod/kvzdbl/Kvz_TCodiciRiclassificato.h"
#include "kvznet/kvzmod/kvzdocuments/simboli/Kvz_CPropSimboloOutRiclassDoc.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvoledb/SqlTable.h"

void CModelliRigheMultiAzDoc::Leggi(SqlConnection* pConnessione)
{
	Kvz_TCodiciRiclassificato_Ext rec(pConnessione);
	SqlTable t(&rec, pConnessione->GetDefaultSqlSession(), this);
	ApriCursore(t, rec.f_Esercizio, rec.f_CodRiclassificato);
	t.AddParam("p2", rec.f_ModelloRiclassific);
	t.AddFilterColumn(rec.f_ModelloRiclassific);
	t.SetParamValue("p2", m_Modello);
	for (t.Query(); !t.IsEOF(); t.MoveNext())
	{
		auto* pRiga = static_cast<Kvz_TCodiciRiclassificato*>(m_pDBT->AddRecord());
		pRiga->f_Esercizio = rec.f_Esercizio;
		pRiga->f_ModelloRiclassific = rec.f_ModelloRiclassific;
		pRiga->f_CodRiclassificato = rec.f_CodRiclassificato;
		pRiga->f_Descrizione = rec.f_Descrizione;
		pRiga->f_TipoRiga = DataEnum(static_cast<DWORD>(rec.f_TipoRiga.GetValue()));
		pRiga->f_TipoDatoRitorno = DataEnum(static_cast<DWORD>(rec.f_TipoDatoRitorno.GetValue()));
		pRiga->f_DaRiportare = rec.f_DaRiportare;
	}
	t.Close();
}

void CModelliRigheMultiAzDoc::Scegli(SqlRecord* pRiga)
{
	m_CodiceScelto = static_cast<Kvz_TCodiciRiclassificato*>(pRiga)->f_CodRiclassificato;
}

void CModelliRigheMultiAzDoc::Restituisci(Kvz_CPropSimboloOutRiclassDoc& simbolo)
{
	if (simbolo.m_bBrowseCodiceDa == TRUE)
		simbolo.m_CodiceDa = m_CodiceScelto;
	else
		simbolo.m_CodiceA = m_CodiceScelto;
}

void CModelliRigheMultiAzView::BuildDataControlLinks()
{
	auto* pDoc = static_cast<CModelliMultiAzBase*>(GetDocument());
	AddLink(IDC_MULTIAZ_GRID, _T("Righe modelli di riclassificazione"), RUNTIME_CLASS(ModelliRigheMultiAzEdit),
			pDoc->GetDBT());
}

void ModelliRigheMultiAzEdit::Customize()
{
	auto* pRec = static_cast<Kvz_TCodiciRiclassificato*>(GetDBT()->GetRecord());
	AddColumn(IDC_MULTIAZ_CODICE, _T("Codice"), _T("Codice"), RUNTIME_CLASS(CStrStatic), pRec->f_CodRiclassificato, 12);
	AddColumn(IDC_MULTIAZ_COD_DESCRIZIONE, _T("Descrizione"), _T("Descrizione"), RUNTIME_CLASS(CStrStatic),
			  pRec->f_Descrizione, 30);
	CModelliMultiAzBase::PreparaGriglia(*this);
}
