#include "kvznet/kvzmod/kvzdocuments/Kvz_CRiclassificPianoBaseDoc.h"

// The run gives eight amounts: the ninth, the tenth and the kind stay as the caller passed them.
DataBool Kvz_CRiclassificPianoBaseDoc::Kvz_GetRigaQuadrim1(DataInt nRiga, DataStr& aCodice, DataStr& aDescrizione, DataMon& aImporto1, DataMon& aImporto2, DataMon& aImporto3, DataMon& aImporto4, DataMon& aImporto5, DataMon& aImporto6, DataMon& aImporto7, DataMon& aImporto8, DataMon& aImporto9, DataMon& aImporto10, DataEnum& /*aTipoRiga*/)
{
	return kvzdocuments::CopyRigaQuadrimestre(m_Quadrim[0], nRiga, aCodice, aDescrizione, KVZ_TEN_AMOUNTS(aImporto),
											  8, nullptr);
}

DataBool Kvz_CRiclassificPianoBaseDoc::Kvz_GetRigaQuadrim2(DataInt nRiga, DataStr& aCodice, DataStr& aDescrizione, DataMon& aImporto1, DataMon& aImporto2, DataMon& aImporto3, DataMon& aImporto4, DataMon& aImporto5, DataMon& aImporto6, DataMon& aImporto7, DataMon& aImporto8, DataMon& aImporto9, DataMon& aImporto10, DataEnum& /*aTipoRiga*/)
{
	return kvzdocuments::CopyRigaQuadrimestre(m_Quadrim[1], nRiga, aCodice, aDescrizione, KVZ_TEN_AMOUNTS(aImporto),
											  8, nullptr);
}

DataBool Kvz_CRiclassificPianoBaseDoc::Kvz_GetRigaQuadrim3(DataInt nRiga, DataStr& aCodice, DataStr& aDescrizione, DataMon& aImporto1, DataMon& aImporto2, DataMon& aImporto3, DataMon& aImporto4, DataMon& aImporto5, DataMon& aImporto6, DataMon& aImporto7, DataMon& aImporto8, DataMon& aImporto9, DataMon& aImporto10, DataEnum& /*aTipoRiga*/)
{
	return kvzdocuments::CopyRigaQuadrimestre(m_Quadrim[2], nRiga, aCodice, aDescrizione, KVZ_TEN_AMOUNTS(aImporto),
											  8, nullptr);
}
