#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliPianoBase.h"

#include <cctype>
#include <string>
#include <string_view>

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

namespace {
// SQL's LIKE on ASCII codes: "%" any text, "_" one character, letters of either case.
bool Simile(std::string_view testo, std::string_view modello)
{
	size_t t = 0, m = 0, tStella = std::string_view::npos, mStella = 0;
	auto uguale = [](char a, char b) {
		return std::toupper(static_cast<unsigned char>(a)) == std::toupper(static_cast<unsigned char>(b));
	};
	while (t < testo.size())
	{
		if (m < modello.size() && (modello[m] == '_' || (modello[m] != '%' && uguale(modello[m], testo[t]))))
		{
			++t;
			++m;
		}
		else if (m < modello.size() && modello[m] == '%')
		{
			tStella = t;
			mStella = ++m;
		}
		else if (tStella != std::string_view::npos)
		{
			t = ++tStella;
			m = mStella;
		}
		else
			return false;
	}
	while (m < modello.size() && modello[m] == '%')
		++m;
	return m == modello.size();
}
}  // namespace

bool Kvz_CondizioneContoPrende(const Kvz_TSimboliPianoBase& def, const CString& strConto)
{
	const std::string conto = strConto.str();
	const std::string da = def.f_ValDaConto.GetString().str();
	switch (def.f_TipoOpeConto.GetItemValue())
	{
	case 0:
		return conto == da;
	case 1:
		return conto <= da;
	case 2:
		return conto >= da;
	case 3:
		return conto < da;
	case 4:
		return conto > da;
	case 5:
		return conto != da;
	case 6:
		return conto >= da && conto <= def.f_ValAConto.GetString().str();
	case 7:
	{
		std::string modello = da;
		if (modello.find_first_of("%_*?") == std::string::npos)
			modello += '%';
		for (char& c : modello)
			c = c == '*' ? '%' : c == '?' ? '_' : c;
		return Simile(conto, modello);
	}
	default:
		return false;
	}
}
