// The grouped accounts proposed in adjustments that no base-plan symbol uses.
#include "KvzReports.h"

namespace kvzreports {
namespace {

const char* const kGetContoUnused = "__CImportaSaldiDoc_Kvz_GetContoUnused";

class CContiNonUsati : public CKvzReport
{
public:
	CContiNonUsati() : CKvzReport("KvzNet.KvzMod.ContiNonUsati", {kGetContoUnused}) {}
	void Build(CReportContext& ctx, CReportOutput& out) override
	{
		out.title = "Conti non utilizzati nei simboli del piano base";
		CReportTable& t = out.AddTable("Conti", {{"Conto", ColumnKind::Text, 1}, {"Descrizione", ColumnKind::Text, 3}});
		int n = 0;
		for (;; ++n)
		{
			CReportString conto, descrizione;
			if (!ctx.Member<bool>(kGetContoUnused, n, conto.Out(), descrizione.Out()))
				break;
			t.AddRow({conto.Get(), descrizione.Get()});
		}
		t.AddTotal(n == 1 ? CString("1 conto") : CString::Formatted("%d conti", n));
	}
};

}  // namespace

std::unique_ptr<CReportDefinition> MakeContiNonUsati()
{
	return std::make_unique<CContiNonUsati>();
}

}  // namespace kvzreports
