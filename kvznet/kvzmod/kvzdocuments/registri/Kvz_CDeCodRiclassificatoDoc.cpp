#include "kvznet/kvzmod/kvzdocuments/registri/Kvz_CDeCodRiclassificatoDoc.h"

#include <new>

#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagSimboli.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliCodiciRiclass.h"
#include "platform/plvgeneric/Application.h"

namespace {
const char* const kSource = "Kvz_CDeCodRiclassificatoDoc";
const DataEnum kSimboloCodRiclassificato(E_KVZ_TIPOSIMBOLO, 3);
}  // namespace

Kvz_DBTCodiciRiclass::Kvz_DBTCodiciRiclass(CAbstractFormDoc* pDocument)
	: Kvz_DBTCodeList(Kvz_TCodiciRiclassificato::GetThisClass(), pDocument, _T("DBTCodiciRiclass"),
					  {{_T("CodRiclassificato"), _TB("Indicare il codice riclassificato.")},
					   {_T("ModelloRiclassific"), _TB("Indicare il modello.")}},
					  {_T("CodRiclassificato"), _T("Descrizione"), _T("TipoRiga")})
{
}

void Kvz_DBTCodiciRiclass::OnPreparePrimaryKey()
{
	GetCodiciRiclassificato()->f_Esercizio = AfxGetApplicationDate().Year();
}

BEGIN_MESSAGE_MAP(Kvz_CDeCodRiclassificatoDoc, CAbstractFormDoc)
	ON_EN_VALUE_CHANGED(IDC_CODRICLASS_TIPORIGA, OnTipoRigaChanged)
END_MESSAGE_MAP()

BOOL Kvz_CDeCodRiclassificatoDoc::OnAttachData()
{
	SetFormTitle(AfxLoadSourceString(_TB("Codici riclassificato"), kSource));
	return Attach(new (std::nothrow) Kvz_DBTCodiciRiclass(this));
}

BOOL Kvz_CDeCodRiclassificatoDoc::OnPrepareAuxData()
{
	// Shown from the start: the year the code will be saved under.
	if (GetFormMode() == NEW)
		GetCodiciRiclassificato()->f_Esercizio = AfxGetApplicationDate().Year();
	return TRUE;
}

BOOL Kvz_CDeCodRiclassificatoDoc::OnOkTransaction()
{
	const Kvz_TCodiciRiclassificato* pRec = GetCodiciRiclassificato();
	const DataDate oggi = AfxGetApplicationDate();
	const DataInt anno(oggi.Year());
	// Each row is committed as it is written, apart from the code's own save.
	Kvz_TUAnagSimboli anagrafica;
	Kvz_TUSimboliCodiciRiclass definizione;
	for (TableUpdater* p : {static_cast<TableUpdater*>(&anagrafica), static_cast<TableUpdater*>(&definizione)})
	{
		p->SetSqlSession(GetUpdatableSqlSession());
		p->SetAutocommit();
	}

	// Both rows are keyed by year, model and the code as the symbol's name.
	auto chiave = [&](auto* pRow) {
		pRow->f_Esercizio = anno;
		pRow->f_ModelloRiclassific = pRec->f_ModelloRiclassific;
		pRow->f_NomeSimbolo = pRec->f_CodRiclassificato;
	};
	switch (anagrafica.FindRecord(anno, pRec->f_CodRiclassificato, pRec->f_ModelloRiclassific, FALSE))
	{
	case TableReader::FOUND:
		// The name belongs to a symbol of another kind: it is left alone.
		if (anagrafica.GetRecord()->f_TipoSimbolo.GetValue() != kSimboloCodRiclassificato.GetValue())
			return TRUE;
		break;
	case TableReader::NOT_FOUND:
	{
		Kvz_TAnagSimboli* pSimbolo = anagrafica.GetRecord();
		chiave(pSimbolo);
		pSimbolo->f_TipoSimbolo = kSimboloCodRiclassificato;
		pSimbolo->f_DataCreazione = oggi;
		pSimbolo->f_DataUltModifica = oggi;
		anagrafica.UpdateRecord(FALSE);
		break;
	}
	default: break;
	}

	if (definizione.FindRecord(anno, pRec->f_CodRiclassificato, pRec->f_ModelloRiclassific, FALSE) ==
		TableReader::NOT_FOUND)
	{
		Kvz_TSimboliCodiciRiclass* pDef = definizione.GetRecord();
		chiave(pDef);
		pDef->f_ValoreEsSymb = TRUE;
		pDef->f_ValoreModelloSymb = TRUE;
		pDef->f_ValoreCodice = pRec->f_CodRiclassificato;
		definizione.UpdateRecord(FALSE);
	}
	return TRUE;
}

void Kvz_CDeCodRiclassificatoView::BuildDataControlLinks()
{
	Kvz_TCodiciRiclassificato* pRec = static_cast<Kvz_CDeCodRiclassificatoDoc*>(GetDocument())->GetCodiciRiclassificato();
	AddLink(IDC_CODRICLASS_CODICE, _T("Codice riclassificato"), RUNTIME_CLASS(CStrEdit), &pRec->f_CodRiclassificato);
	AddLink(IDC_CODRICLASS_MODELLO, _T("Modello"), RUNTIME_CLASS(CStrEdit), &pRec->f_ModelloRiclassific);
	AddLink(IDC_CODRICLASS_DESCRIZIONE, _T("Descrizione"), RUNTIME_CLASS(CStrEdit), &pRec->f_Descrizione);
	AddLink(IDC_CODRICLASS_TIPORIGA, _T("Tipo riga"), RUNTIME_CLASS(CEnumCombo), &pRec->f_TipoRiga);
	AddLink(IDC_CODRICLASS_TIPODATORITORNO, _T("Tipo dato ritorno"), RUNTIME_CLASS(CEnumCombo), &pRec->f_TipoDatoRitorno);
	// Codes of every year are browsed together: the year each belongs to is shown.
	AddLink(IDC_CODRICLASS_ESERCIZIO, _T("Esercizio"), RUNTIME_CLASS(CIntStatic), &pRec->f_Esercizio);
}
