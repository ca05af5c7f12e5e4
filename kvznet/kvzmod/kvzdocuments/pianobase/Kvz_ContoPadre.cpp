#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_ContoPadre.h"

DataStr Kvz_CalcolaContoPadre(const DataStr& aConto, const Kvz_TParametri& aParametri)
{
	// The lengths of the code at each level. A segment of no length adds no level, so the
	// levels after it still count: every code has the same parent chain whatever its depth
	// (with 2/2/0/3, 4001001 -> 4001 -> 40).
	const int lunghezze[8] = {aParametri.f_LenMastro, aParametri.f_LenSeg1, aParametri.f_LenSeg2,
							  aParametri.f_LenSeg3,	aParametri.f_LenSeg4, aParametri.f_LenSeg5,
							  aParametri.f_LenSeg6,	aParametri.f_LenSeg7};
	int livelli[8] = {};
	int nLivelli = 0;
	if (lunghezze[0] > 0)
	{
		livelli[nLivelli++] = lunghezze[0];
		for (int k = 1; k < 8; ++k)
			if (lunghezze[k] > 0)
			{
				livelli[nLivelli] = livelli[nLivelli - 1] + lunghezze[k];
				++nLivelli;
			}
	}
	const CString conto = aConto.GetString();
	for (int k = nLivelli - 1; k >= 1; --k)
		if (conto.GetLength() >= livelli[k])
			return DataStr(conto.Left(livelli[k - 1]));
	return DataStr();
}
