// The accounts behind a reclassification model: for each base-plan symbol of the model, the
// accounts (and cost centres or jobs) it reads, with their sign, whether its list or its account
// condition selects them.
#include <map>
#include <tuple>
#include <utility>
#include <vector>

#include "KvzReports.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TElencoContiSimboloPBase.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliPianoBase.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvoledb/SqlTable.h"

namespace kvzreports {
namespace {

// The symbol's account condition as a reader takes it: "= 20", "Compreso tra 60 e 69".
CString Condizione(const Kvz_TSimboliPianoBase& def)
{
	const int ope = def.f_TipoOpeConto.GetItemValue();
	if (ope == 8)
		return "Elenco";
	if (ope == 6)
		return CString::Formatted("Compreso tra %s e %s", def.f_ValDaConto.GetString().GetString(),
								  def.f_ValAConto.GetString().GetString());
	if (ope == 7)
		return "Simile a " + def.f_ValDaConto.GetString();
	return def.f_TipoOpeConto.FormatData() + " " + def.f_ValDaConto.GetString();
}

class CContiDelRiclassificato : public CKvzReport
{
public:
	CContiDelRiclassificato() : CKvzReport("KvzNet.KvzMod.ContiDelRiclassificato", {}) {}
	void Build(CReportContext& ctx, CReportOutput& out) override
	{
		out.title = "Conti del riclassificato";
		// The model document names none: the year of the application date and every model, unless
		// the request says otherwise.
		const int year = ctx.InputInt("w_EsercizioInput", ctx.InputInt("w_EsercInput", AfxGetApplicationDate().Year()));
		const CString model = ctx.InputText("w_ModelloInput");
		out.inputs = {{"Esercizio", CString::Formatted("%d", year)}, {"Modello", model.IsEmpty() ? CString("tutti") : model}};
		CReportTable& t = out.AddTable("Conti dei simboli del piano base", {{"Modello", ColumnKind::Text, 0.7},
																			{"Simbolo", ColumnKind::Text, 0.9},
																			{"Condizione", ColumnKind::Text, 1.3},
																			{"Conto", ColumnKind::Text, 0.8},
																			{"Descrizione", ColumnKind::Text, 2},
																			{"Tipo", ColumnKind::Text, 0.8},
																			{"Centro/Commessa", ColumnKind::Text, 0.9},
																			{"Segno", ColumnKind::Text, 0.5}});
		t.SetSheetName("Conti dei simboli");

		// The grouped accounts of the year, in code order, with their descriptions.
		std::vector<std::pair<CString, CString>> conti;
		std::map<CString, CString> descrizioni;
		{
			Kvz_TAnagContiKvz rec;
			SqlTable table(&rec, AfxGetDefaultSqlSession());
			table.Open();
			table.Select(rec.f_ContoKvz);
			table.Select(rec.f_Descrizione);
			FilterEqual(table, "pEs", rec.f_Esercizio, DataInt(year));
			table.AddSortColumn(rec.f_ContoKvz);
			for (table.Query(); !table.IsEOF(); table.MoveNext())
			{
				conti.emplace_back(rec.f_ContoKvz.GetString(), rec.f_Descrizione.GetString());
				descrizioni[rec.f_ContoKvz.GetString()] = rec.f_Descrizione.GetString();
			}
			table.Close();
		}
		// The list entries by model and symbol.
		struct Voce
		{
			CString conto, tipo, centro, segno;
			bool tutti = false;
		};
		std::map<std::pair<CString, CString>, std::vector<Voce>> elenchi;
		{
			Kvz_TElencoContiSimboloPBase rec;
			SqlTable table(&rec, AfxGetDefaultSqlSession());
			table.Open();
			table.SelectAll();
			FilterEqual(table, "pEs", rec.f_Esercizio, DataInt(year));
			if (!model.IsEmpty())
				FilterEqual(table, "pMod", rec.f_ModelloRiclassific, DataStr(model));
			table.AddSortColumn(rec.f_ModelloRiclassific);
			table.AddSortColumn(rec.f_NomeSimbolo);
			table.AddSortColumn(rec.f_ContoSelez);
			table.AddSortColumn(rec.f_CentroCommessa);
			for (table.Query(); !table.IsEOF(); table.MoveNext())
			{
				const bool centre = !rec.f_CentroCommessa.GetString().IsEmpty();
				elenchi[{rec.f_ModelloRiclassific.GetString(), rec.f_NomeSimbolo.GetString()}].push_back(
					{rec.f_ContoSelez.GetString(), centre ? rec.f_TipoCentroComm.FormatData() : CString(),
					 rec.f_CentroCommessa.GetString(), rec.f_SegnoConto.FormatData(), static_cast<bool>(rec.f_SelContoVuoto)});
			}
			table.Close();
		}

		Kvz_TSimboliPianoBase def;
		SqlTable table(&def, AfxGetDefaultSqlSession());
		table.Open();
		table.SelectAll();
		FilterEqual(table, "pEs", def.f_Esercizio, DataInt(year));
		if (!model.IsEmpty())
			FilterEqual(table, "pMod", def.f_ModelloRiclassific, DataStr(model));
		table.AddSortColumn(def.f_ModelloRiclassific);
		table.AddSortColumn(def.f_NomeSimbolo);
		const CString somma = DataEnum(E_KVZ_SEGNOCONTO, 0).FormatData();
		for (table.Query(); !table.IsEOF(); table.MoveNext())
		{
			const CString modello = def.f_ModelloRiclassific.GetString(), simbolo = def.f_NomeSimbolo.GetString();
			const CString condizione = Condizione(def);
			int righe = 0;
			if (def.f_TipoOpeConto.GetItemValue() == 8)
			{
				auto it = elenchi.find({modello, simbolo});
				if (it != elenchi.end())
					for (const Voce& v : it->second)
					{
						const auto d = descrizioni.find(v.conto);
						t.AddRow({modello, simbolo, condizione, v.tutti || v.conto.IsEmpty() ? CString("(tutti)") : v.conto,
								  v.tutti || d == descrizioni.end() ? CString() : d->second, v.tipo, v.centro, v.segno});
						++righe;
					}
			}
			else
				for (const auto& [conto, descrizione] : conti)
					if (Kvz_CondizioneContoPrende(def, conto))
					{
						t.AddRow({modello, simbolo, condizione, conto, descrizione, CString(), CString(), somma});
						++righe;
					}
			if (righe == 0)
				t.AddRow({modello, simbolo, condizione, CString("(nessun conto)")});
		}
		table.Close();
	}
};

}  // namespace

std::unique_ptr<CReportDefinition> MakeContiDelRiclassificato()
{
	return std::make_unique<CContiDelRiclassificato>();
}

}  // namespace kvzreports
