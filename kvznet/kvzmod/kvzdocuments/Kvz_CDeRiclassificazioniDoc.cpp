#include "kvznet/kvzmod/kvzdocuments/Kvz_CDeRiclassificazioniDoc.h"

#include "kvznet/kvzmod/kvzdbl/KvzDblEnums.h"

DataBool Kvz_CDeRiclassificazioniDoc::Kvz_GetNextRigaEsplos(DataInt& nRiga, DataStr& aTitolo, DataStr& aTesto)
{
	const int i = nRiga.GetValue();
	if (i < 0 || static_cast<size_t>(i) >= m_RigheEsplosione.size())
		return DataBool(FALSE);
	Kvz_RigaEsplosione& r = m_RigheEsplosione[static_cast<size_t>(i)];
	if (r.TipoSimbolo.GetValue() == 0)
		r.TipoSimbolo = DataEnum(E_KVZ_TIPOSIMBOLO, 0);
	if (!r.Titolo)
	{
		aTesto = r.Testo;
		return DataBool(TRUE);
	}
	aTitolo = r.Testo;
	nRiga = i + 1;
	if (static_cast<size_t>(i + 1) < m_RigheEsplosione.size())
		aTesto = m_RigheEsplosione[static_cast<size_t>(i + 1)].Testo;
	return DataBool(TRUE);
}

DataBool Kvz_CDeRiclassificazioniDoc::Kvz_GetSubNextRigaEsplos(DataInt nRiga, DataInt& nSubRiga, DataStr& aTesto1,
															   DataStr& aTesto2, DataStr& aTesto3, DataStr& aTesto4,
															   DataStr& aTesto5, DataStr& aTesto6, DataMon& aImporto1,
															   DataMon& aImporto2)
{
	const int i = nRiga.GetValue();
	const int j = nSubRiga.GetValue();
	if (i < 0 || static_cast<size_t>(i) >= m_RigheEsplosione.size())
		return DataBool(FALSE);
	const auto& dettagli = m_RigheEsplosione[static_cast<size_t>(i)].Dettagli;
	if (j < 0 || static_cast<size_t>(j) >= dettagli.size())
		return DataBool(FALSE);
	const Kvz_RigaEsplosione::Dettaglio& d = dettagli[static_cast<size_t>(j)];
	DataStr* testi[] = {&aTesto1, &aTesto2, &aTesto3, &aTesto4, &aTesto5, &aTesto6};
	for (int k = 0; k < 6; ++k)
		*testi[k] = d.Testi[k];
	aImporto1 = d.Importi[0];
	aImporto2 = d.Importi[1];
	return DataBool(TRUE);
}
