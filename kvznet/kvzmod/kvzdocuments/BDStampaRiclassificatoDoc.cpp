#include "kvznet/kvzmod/kvzdocuments/BDStampaRiclassificatoDoc.h"

#include "kvznet/kvzmod/kvzdbl/Kvz_TDescrizioniBrevi.h"
#include "platform/plvoledb/SqlException.h"

DataBool BDStampaRiclassificatoDoc::Kvz_GetNextModelloPerStampa(DataInt nRiga, DataStr& aModello, DataStr& aDescrizione)
{
	const int i = nRiga.GetValue();
	if (i < 0 || static_cast<size_t>(i) >= m_Modelli.size())
		return DataBool(FALSE);
	const BDStampaRiclassificatoModello& r = m_Modelli[static_cast<size_t>(i)];
	if (r.Selezionato)
	{
		aModello = r.Modello;
		aDescrizione = r.Descrizione;
	}
	else
		aModello = DataStr();
	return DataBool(TRUE);
}

DataBool BDStampaRiclassificatoDoc::CodiciPerStampa(const DataStr& aCodice, int nFirst, std::vector<DataMon*> importi)
{
	int nMarked = 0;
	size_t next = 0;
	for (const BDStampaRiclassificatoModello& r : m_Modelli)
	{
		if (!r.Selezionato)
			continue;
		if (nMarked++ < nFirst)
			continue;
		if (next == importi.size())
			break;
		*importi[next++] = m_ValoreCodice ? m_ValoreCodice(aCodice, r.Modello) : DataMon();
	}
	return DataBool(TRUE);
}

DataBool BDStampaRiclassificatoDoc::Kvz_GetNextCodiciPerStampa_1(DataStr aCodice, DataMon& aImporto1, DataMon& aImporto2, DataMon& aImporto3, DataMon& aImporto4, DataMon& aImporto5, DataMon& aImporto6, DataMon& aImporto7, DataMon& aImporto8, DataMon& aImporto9, DataMon& aImporto10, DataMon& aImporto11, DataMon& aImporto12, DataMon& aImporto13, DataMon& aImporto14, DataMon& aImporto15, DataMon& aImporto16, DataMon& aImporto17, DataMon& aImporto18, DataMon& aImporto19, DataMon& aImporto20, DataMon& aImporto21, DataMon& aImporto22, DataMon& aImporto23, DataMon& aImporto24, DataMon& aImporto25, DataMon& aImporto26, DataMon& aImporto27, DataMon& aImporto28, DataMon& aImporto29, DataMon& aImporto30, DataMon& aImporto31, DataMon& aImporto32, DataMon& aImporto33, DataMon& aImporto34, DataMon& aImporto35)
{
	return CodiciPerStampa(aCodice, 0, {&aImporto1, &aImporto2, &aImporto3, &aImporto4, &aImporto5, &aImporto6, &aImporto7, &aImporto8, &aImporto9, &aImporto10, &aImporto11, &aImporto12, &aImporto13, &aImporto14, &aImporto15, &aImporto16, &aImporto17, &aImporto18, &aImporto19, &aImporto20, &aImporto21, &aImporto22, &aImporto23, &aImporto24, &aImporto25, &aImporto26, &aImporto27, &aImporto28, &aImporto29, &aImporto30, &aImporto31, &aImporto32, &aImporto33, &aImporto34, &aImporto35});
}

DataBool BDStampaRiclassificatoDoc::Kvz_GetNextCodiciPerStampa_2(DataStr aCodice, DataMon& aImporto1, DataMon& aImporto2, DataMon& aImporto3, DataMon& aImporto4, DataMon& aImporto5, DataMon& aImporto6, DataMon& aImporto7, DataMon& aImporto8, DataMon& aImporto9, DataMon& aImporto10, DataMon& aImporto11, DataMon& aImporto12, DataMon& aImporto13, DataMon& aImporto14, DataMon& aImporto15, DataMon& aImporto16, DataMon& aImporto17, DataMon& aImporto18, DataMon& aImporto19, DataMon& aImporto20, DataMon& aImporto21, DataMon& aImporto22, DataMon& aImporto23, DataMon& aImporto24, DataMon& aImporto25, DataMon& aImporto26, DataMon& aImporto27, DataMon& aImporto28, DataMon& aImporto29, DataMon& aImporto30, DataMon& aImporto31, DataMon& aImporto32, DataMon& aImporto33, DataMon& aImporto34, DataMon& aImporto35)
{
	return CodiciPerStampa(aCodice, 35, {&aImporto1, &aImporto2, &aImporto3, &aImporto4, &aImporto5, &aImporto6, &aImporto7, &aImporto8, &aImporto9, &aImporto10, &aImporto11, &aImporto12, &aImporto13, &aImporto14, &aImporto15, &aImporto16, &aImporto17, &aImporto18, &aImporto19, &aImporto20, &aImporto21, &aImporto22, &aImporto23, &aImporto24, &aImporto25, &aImporto26, &aImporto27, &aImporto28, &aImporto29, &aImporto30, &aImporto31, &aImporto32, &aImporto33, &aImporto34, &aImporto35});
}

DataBool BDStampaRiclassificatoDoc::Kvz_GetNextCodiciPerStampa_3(DataStr aCodice, DataMon& aImporto1, DataMon& aImporto2, DataMon& aImporto3, DataMon& aImporto4, DataMon& aImporto5, DataMon& aImporto6, DataMon& aImporto7, DataMon& aImporto8, DataMon& aImporto9, DataMon& aImporto10, DataMon& aImporto11, DataMon& aImporto12, DataMon& aImporto13, DataMon& aImporto14, DataMon& aImporto15, DataMon& aImporto16, DataMon& aImporto17, DataMon& aImporto18, DataMon& aImporto19, DataMon& aImporto20, DataMon& aImporto21, DataMon& aImporto22, DataMon& aImporto23, DataMon& aImporto24, DataMon& aImporto25, DataMon& aImporto26, DataMon& aImporto27, DataMon& aImporto28, DataMon& aImporto29)
{
	return CodiciPerStampa(aCodice, 70, {&aImporto1, &aImporto2, &aImporto3, &aImporto4, &aImporto5, &aImporto6, &aImporto7, &aImporto8, &aImporto9, &aImporto10, &aImporto11, &aImporto12, &aImporto13, &aImporto14, &aImporto15, &aImporto16, &aImporto17, &aImporto18, &aImporto19, &aImporto20, &aImporto21, &aImporto22, &aImporto23, &aImporto24, &aImporto25, &aImporto26, &aImporto27, &aImporto28, &aImporto29});
}

DataBool BDStampaRiclassificatoDoc::Kvz_GetNextCodiciPerStampa_4(DataStr aCodice, DataMon& aImporto1, DataMon& aImporto2, DataMon& aImporto3, DataMon& aImporto4, DataMon& aImporto5, DataMon& aImporto6, DataMon& aImporto7, DataMon& aImporto8, DataMon& aImporto9, DataMon& aImporto10, DataMon& aImporto11)
{
	return CodiciPerStampa(aCodice, 99, {&aImporto1, &aImporto2, &aImporto3, &aImporto4, &aImporto5, &aImporto6, &aImporto7, &aImporto8, &aImporto9, &aImporto10, &aImporto11});
}

DataBool BDStampaRiclassificatoDoc::Kvz_CancellaSelezionati()
{
	m_nProssimoCodice = 0;
	Kvz_TUDescrizioniBrevi updater(this);
	updater.SetAutocommit(TRUE);
	for (auto it = m_Codici.begin(); it != m_Codici.end();)
	{
		if (!it->Selezionato)
		{
			++it;
			continue;
		}
		try
		{
			if (updater.FindRecord(it->Codice, TRUE) != TableReader::LOCKED)
			{
				updater.GetRecord()->f_CodRiclassificato = it->Codice;
				updater.GetRecord()->f_DescrizioneBreve = it->DescrizioneBreve;
				updater.UpdateRecord();
			}
		}
		catch (const SqlException& e)
		{
			e.ShowError();
		}
		it = m_Codici.erase(it);
	}
	updater.UnlockAll();
	return DataBool(TRUE);
}

DataBool BDStampaRiclassificatoDoc::Kvz_GetNextDescrizioniPerStampa(DataStr& aDescr1, DataStr& aDescr2,
																	DataStr& aDescr3, DataStr& aDescr4,
																	DataStr& aDescr5, DataStr& aDescr6,
																	DataStr& aDescr7, DataStr& aDescr8,
																	DataStr& aDescr9)
{
	DataStr* descr[] = {&aDescr1, &aDescr2, &aDescr3, &aDescr4, &aDescr5, &aDescr6, &aDescr7, &aDescr8, &aDescr9};
	for (DataStr* p : descr)
		*p = DataStr();
	size_t next = 0;
	for (const BDStampaRiclassificatoCodice& r : m_Codici)
		if (r.Selezionato && next < std::size(descr))
			*descr[next++] = r.DescrizioneBreve;
	return DataBool(TRUE);
}
