#pragma once
// What the files of the adjustments document share: its texts and database errors, all under
// the document's one source, and the monthly reads.
#include <array>
#include <cmath>

#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/DataObj.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvoledb/SqlException.h"
#include "platform/plvoledb/SqlTable.h"

namespace kvzdocuments::assestamento {

inline constexpr const char* kSource = "Kvz_CAssestamentoDoc";

inline CString Testo(LPCTSTR sz)
{
	return AfxLoadSourceString(sz, kSource);
}

inline void MostraErrore(const SqlException& e, const char* method)
{
	ASSERT_RELEASE_TRACE(e.IsKindOf(SqlException::GetThisClass()), method, kSource);
	e.ShowError(_T(""));
}

inline bool IsZeroMon(double v)
{
	return std::fabs(v) <= GetMonEpsilon();
}

// One amount column of the rows of one id into importi by month (1 to 12; a month the rows
// lack is left as it is), in one read. A database error is thrown.
template <class Rec, class Importo>
void ImportiPerMese(SqlSession* pSession, CObject* pDoc, DataLng Rec::*pId, const DataLng& aId, Importo Rec::*pImporto,
					std::array<double, 13>& importi)
{
	Rec rec;
	SqlTable table(&rec, pSession, pDoc);
	table.Open(FALSE, FALSE, TRUE);
	table.Select(rec.f_Mese);
	table.Select(rec.*pImporto);
	table.AddParam(_T("p1"), rec.*pId);
	table.AddFilterColumn(rec.*pId);
	table.SetParamValue(_T("p1"), aId);
	for (table.Query(); !table.IsEOF(); table.MoveNext())
		if (rec.f_Mese >= 1 && rec.f_Mese <= 12)
			importi[static_cast<size_t>(int(rec.f_Mese))] = rec.*pImporto;
	table.Close();
}

}  // namespace kvzdocuments::assestamento
