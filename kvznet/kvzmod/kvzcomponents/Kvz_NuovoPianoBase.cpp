#include "kvznet/kvzmod/kvzcomponents/Kvz_NuovoPianoBase.h"

#include <initializer_list>

void Kvz_ChiaviTestaPianoBase(Kvz_TPianoBaseTesta& aTesta, const DataInt& aEsercizio, const DataStr& aConto,
							  const DataStr& aCdcComm, const DataEnum& aTipoCdcComm)
{
	aTesta.f_Esercizio = aEsercizio;
	aTesta.f_ContoKvz = aConto;
	aTesta.f_CentroCommessa = aCdcComm;
	aTesta.f_TipoCentroComm = DataEnum(E_KVZ_TIPOCENTROCOMM, aTipoCdcComm.GetItemValue());
	aTesta.f_TipoBudget = DataEnum(E_KVZ_TIPOBUDGET, 3);
}

void Kvz_PreparaRigaPianoBase(Kvz_TPianoBaseRighe& aRiga, const DataLng& id, int nMese, const DataInt& aEsercizio,
							  const DataStr& aConto, const DataStr& aCdcComm, const DataEnum& aTipoCdcComm,
							  const DataEnum& aTipoMastro)
{
	aRiga.Init();
	aRiga.f_IDPianoBase = id;
	aRiga.f_Esercizio = aEsercizio;
	aRiga.f_ContoKvz = aConto;
	aRiga.f_CentroCommessa = aCdcComm;
	aRiga.f_TipoCentroComm = DataEnum(E_KVZ_TIPOCENTROCOMM, aTipoCdcComm.GetItemValue());
	aRiga.f_TipoMastro = DataEnum(E_TIPOMASTRO, aTipoMastro.GetItemValue());
	Kvz_PreparaMeseRigaPianoBase(aRiga, nMese);
}

void Kvz_PreparaMeseRigaPianoBase(Kvz_TPianoBaseRighe& aRiga, int nMese)
{
	aRiga.f_Mese = nMese;
	for (DataObj* p : std::initializer_list<DataObj*>{&aRiga.f_SaldoContabile, &aRiga.f_SaldoPrecedente,
													  &aRiga.f_SaldoDiffAccettato, &aRiga.f_ImportoRateo,
													  &aRiga.f_RateoDaPrevisionale, &aRiga.f_TotaleAssestato,
													  &aRiga.f_GiaImportato})
		p->Clear(TRUE);
}
