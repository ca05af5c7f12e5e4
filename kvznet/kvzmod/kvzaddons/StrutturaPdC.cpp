#include "kvznet/kvzmod/kvzaddons/StrutturaPdC.h"

#include "platform/erp/erpbasedbl/TChartOfAccountParameters.h"

StrutturaPdC StrutturaPdC::Da(const TChartOfAccountParameters& parametri)
{
	StrutturaPdC s;
	s.L0 = parametri.f_LedgerLength;
	for (int n = 1; n < LIVELLI; ++n)
		s.L[n] = parametri.GetSegmentLength(n);
	return s;
}

StrutturaPdC StrutturaPdC::Corrente()
{
	return Da(*AfxGetChartOfAccountsInfo()->GetChartOfAccountParameters());
}

int StrutturaPdC::LunghezzaLivello(int n) const
{
	int nLunghezza = L0;
	for (int k = 1; k < n && k < LIVELLI; ++k)
		nLunghezza += L[k];
	return nLunghezza;
}

int StrutturaPdC::LivelloDi(int nLunghezza) const
{
	for (int n = 1; n <= LIVELLI; ++n)
		if (LunghezzaLivello(n) == nLunghezza)
			return n;
	return 0;
}

int StrutturaPdC::LimiteSuperiore() const
{
	int nUltimo = 0;
	for (int k = 1; k <= 4; ++k)
		if (L[k] > 0)
			nUltimo = L[k];
	return L0 + L[1] + L[2] + L[3] + L[4] - nUltimo;
}

int StrutturaPdC::LunghezzaPrefisso(int nLunghezza) const
{
	if (nLunghezza < L0)
		return nLunghezza;
	for (int k = 1; k < LIVELLI; ++k)
		if (LunghezzaLivello(k + 1) >= nLunghezza)
			return LunghezzaLivello(k);
	return 0;
}

int StrutturaPdC::LivelloMastro() const
{
	for (int n = LIVELLI - 1; n >= 1; --n)
		if (L[n] >= 1)
			return n + 1;
	return 1;
}

BOOL StrutturaPdC::IsAlLivelloDiRaggruppamento(int nLunghezza, const Kvz_TRaggruppPdC& riga) const
{
	return nLunghezza == LunghezzaLivello(LivelloDiRaggruppamento(riga));
}

DataBool& FlagLivello(Kvz_TRaggruppPdC& riga, int n)
{
	DataBool* flags[] = {&riga.f_PrimoLivello,	&riga.f_SecondoLivello, &riga.f_TerzoLivello,	&riga.f_QuartoLivello,
						 &riga.f_QuintoLivello, &riga.f_SestoLivello,	&riga.f_SettimoLivello, &riga.f_OttavoLivello};
	return *flags[n >= 1 && n <= StrutturaPdC::LIVELLI ? n - 1 : 0];
}

const DataBool& FlagLivello(const Kvz_TRaggruppPdC& riga, int n)
{
	return FlagLivello(const_cast<Kvz_TRaggruppPdC&>(riga), n);
}

int LivelloDiRaggruppamento(const Kvz_TRaggruppPdC& riga)
{
	for (int n = 2; n <= 7; ++n)
		if (FlagLivello(riga, n))
			return n;
	return riga.f_OttavoLivello ? 8 : 1;
}

int ProfonditaRaggruppamento(const Kvz_TRaggruppPdC& riga)
{
	for (int n = StrutturaPdC::LIVELLI; n >= 1; --n)
		if (FlagLivello(riga, n))
			return n;
	return 0;
}
