#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliPianoBase.h"

#include "kvznet/kvzmod/kvzdbl/KvzDblLunghezze.h"

namespace {
const char* const kSource = "Kvz_TSimboliPianoBase";
}  // namespace

Kvz_TSimboliPianoBase::Kvz_TSimboliPianoBase(BOOL bCallInit) : SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	f_ModelloRiclassific.SetUpperCase(TRUE);
	f_NomeSimbolo.SetUpperCase(TRUE);
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TSimboliPianoBase::BindRecord()
{
	RecordBinder b(*this);
	b.Key("Esercizio", f_Esercizio).Year();
	b.Key("ModelloRiclassific", f_ModelloRiclassific).Code(kKvzLenCodice);
	b.Key("NomeSimbolo", f_NomeSimbolo).Code(kKvzLenNomeSimbolo, true);
	b.Col("Annotazioni", f_Annotazioni);
	b.Col("SelSaldo", f_SelSaldo);
	b.Col("SelRateo", f_SelRateo);
	b.Col("SelTotAss", f_SelTotAss);
	b.Col("SelBudget", f_SelBudget);
	b.Col("TipoBudget", f_TipoBudget);
	b.Col("AggregFunction", f_AggregFunction);
	b.Col("WhereEs", f_WhereEs);
	b.Col("TipoOpeEs", f_TipoOpeEs);
	b.Col("ValDaEsConst", f_ValDaEsConst);
	b.Col("ValDaEsSymb", f_ValDaEsSymb);
	b.Col("ValDaEs", f_ValDaEs);
	b.Col("ValAEsConst", f_ValAEsConst);
	b.Col("ValAEsSymb", f_ValAEsSymb);
	b.Col("ValAEs", f_ValAEs);
	b.Col("WhereMese", f_WhereMese);
	b.Col("TipoOpeMese", f_TipoOpeMese);
	b.Col("ValDaMeseConst", f_ValDaMeseConst);
	b.Col("ValDaMeseSymb", f_ValDaMeseSymb);
	b.Col("ValDaMese", f_ValDaMese);
	b.Col("ValAMeseConst", f_ValAMeseConst);
	b.Col("ValAMeseSymb", f_ValAMeseSymb);
	b.Col("ValAMese", f_ValAMese);
	b.Col("WhereConto", f_WhereConto);
	b.Col("WhereCdcComm", f_WhereCdcComm);
	b.Col("SelContoVuoto", f_SelContoVuoto);
	b.Col("TipoOpeConto", f_TipoOpeConto);
	b.Col("ValDaConto", f_ValDaConto);
	b.Col("ValAConto", f_ValAConto);
	b.Col("ElencoConti", f_ElencoConti);
	b.Col("ElencoContiCdcComm", f_ElencoContiCdcComm);
	b.Col("WhereSaldo", f_WhereSaldo);
	b.Col("TipoOpeSaldo", f_TipoOpeSaldo);
	b.Col("ValDaSaldo", f_ValDaSaldo);
	b.Col("ValASaldo", f_ValASaldo);
	b.Col("WhereRateo", f_WhereRateo);
	b.Col("TipoOpeRateo", f_TipoOpeRateo);
	b.Col("ValDaRateo", f_ValDaRateo);
	b.Col("ValARateo", f_ValARateo);
	b.Col("WhereTotAss", f_WhereTotAss);
	b.Col("TipoOpeTotAss", f_TipoOpeTotAss);
	b.Col("ValDaTotAss", f_ValDaTotAss);
	b.Col("ValATotAss", f_ValATotAss);
	b.End();
}

// ---- reader and updater ------------------------------------------------------------------------

Kvz_TRSimboliPianoBase::Kvz_TRSimboliPianoBase(CBaseDocument* pDocument)
	: SymbolKeyedReader({"p3", "p1", "p2"}, Kvz_TSimboliPianoBase::GetThisClass(), pDocument)
{
}

Kvz_TSimboliPianoBase* Kvz_TRSimboliPianoBase::GetRecord() const
{
	return TypedRecord<Kvz_TSimboliPianoBase>("m_pRecord->IsKindOf((Kvz_TSimboliPianoBase::GetThisClass()))",
											  "Kvz_TRSimboliPianoBase::GetRecord", kSource);
}

Kvz_TUSimboliPianoBase::Kvz_TUSimboliPianoBase(CBaseDocument* pDocument, CMessages* pMessages)
	: SymbolKeyedUpdater({"p3", "p1", "p2"}, Kvz_TSimboliPianoBase::GetThisClass(), pDocument, pMessages)
{
}

Kvz_TSimboliPianoBase* Kvz_TUSimboliPianoBase::GetRecord() const
{
	return TypedRecord<Kvz_TSimboliPianoBase>("m_pRecord->IsKindOf((Kvz_TSimboliPianoBase::GetThisClass()))",
											  "Kvz_TUSimboliPianoBase::GetRecord", kSource);
}
