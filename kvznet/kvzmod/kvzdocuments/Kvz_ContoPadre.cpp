#include "kvznet/kvzmod/kvzdocuments/Kvz_ContoPadre.h"

DataStr Kvz_CalcolaContoPadre(const DataStr& aConto, const Kvz_TParametri& aParametri)
{
	// The lengths of the code at each level; a segment of no length ends the levels.
	const int lunghezze[8] = {aParametri.f_LenMastro, aParametri.f_LenSeg1, aParametri.f_LenSeg2,
							  aParametri.f_LenSeg3,	aParametri.f_LenSeg4, aParametri.f_LenSeg5,
							  aParametri.f_LenSeg6,	aParametri.f_LenSeg7};
	int livelli[8] = {};
	int nLivelli = 0;
	if (lunghezze[0] > 0)
	{
		livelli[0] = lunghezze[0];
		nLivelli = 1;
		while (nLivelli < 8 && lunghezze[nLivelli] > 0)
		{
			livelli[nLivelli] = livelli[nLivelli - 1] + lunghezze[nLivelli];
			++nLivelli;
		}
	}
	const CString conto = aConto.GetString();
	for (int k = nLivelli - 1; k >= 1; --k)
		if (conto.GetLength() >= livelli[k])
			return DataStr(conto.Left(livelli[k - 1]));
	return DataStr();
}
