// The functions reports call by name: open a document (_Run), close it (_Dispose), and read
// from an open one through a member of its class, each on the thread of the window given.
#include "kvznet/kvzmod/kvzdocuments/riclassific/BDStampaRiclassificatoDoc.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/Kvz_CComparazioneRiclassificDoc.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/Kvz_CDeRiclassificazioniDoc.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/Kvz_CRiclassificPianoBaseDoc.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/Kvz_CStampaReportRiclassificDoc.h"
#include "platform/plvgenlib/ExportedFunctions.h"

// ---- run and dispose ---------------------------------------------------------------------------
// Four of the names are no template's: the library registers them as aliases of their documents.

PLV_EXPORT long __Kvz_CComparazioneRiclassificDoc_Run(HWND hWnd)
{
	return AfxRunDocumentExport(hWnd, &__Kvz_CComparazioneRiclassificDoc_Run, _T("KvzNet.KvzMod.KvzDocuments.Kvz_CComparazioneRiclassificDoc"));
}

PLV_EXPORT bool __Kvz_CComparazioneRiclassificDoc_Dispose(HWND hWnd, long hDocument)
{
	return AfxDisposeDocumentExport(hWnd, &__Kvz_CComparazioneRiclassificDoc_Dispose, hDocument);
}

PLV_EXPORT long __Kvz_CPianoBaseDoc_Run(HWND hWnd)
{
	return AfxRunDocumentExport(hWnd, &__Kvz_CPianoBaseDoc_Run, _T("KvzNet.KvzMod.KvzDocuments.Kvz_CPianoBaseDoc"));
}

PLV_EXPORT bool __Kvz_CPianoBaseDoc_Dispose(HWND hWnd, long hDocument)
{
	return AfxDisposeDocumentExport(hWnd, &__Kvz_CPianoBaseDoc_Dispose, hDocument);
}

PLV_EXPORT long __CRiclassificPianoBaseDoc_Run(HWND hWnd)
{
	return AfxRunDocumentExport(hWnd, &__CRiclassificPianoBaseDoc_Run, _T("KvzNet.KvzMod.KvzDocuments.CRiclassificPianoBaseDoc"));
}

PLV_EXPORT bool __CRiclassificPianoBaseDoc_Dispose(HWND hWnd, long hDocument)
{
	return AfxDisposeDocumentExport(hWnd, &__CRiclassificPianoBaseDoc_Dispose, hDocument);
}

PLV_EXPORT long __BDStampaReportRiclassific_Run(HWND hWnd)
{
	return AfxRunDocumentExport(hWnd, &__BDStampaReportRiclassific_Run, _T("KvzNet.KvzMod.KvzDocuments.BDStampaReportRiclassific"));
}

PLV_EXPORT bool __BDStampaReportRiclassific_Dispose(HWND hWnd, long hDocument)
{
	return AfxDisposeDocumentExport(hWnd, &__BDStampaReportRiclassific_Dispose, hDocument);
}

PLV_EXPORT long __StampaRiclassificatoDoc_Run(HWND hWnd)
{
	return AfxRunDocumentExport(hWnd, &__StampaRiclassificatoDoc_Run, _T("KvzNet.KvzMod.KvzDocuments.StampaRiclassificatoDoc"));
}

PLV_EXPORT bool __StampaRiclassificatoDoc_Dispose(HWND hWnd, long hDocument)
{
	return AfxDisposeDocumentExport(hWnd, &__StampaRiclassificatoDoc_Dispose, hDocument);
}

PLV_EXPORT long __DModelliRiclassific_Run(HWND hWnd)
{
	return AfxRunDocumentExport(hWnd, &__DModelliRiclassific_Run, _T("KvzNet.KvzMod.KvzDocuments.DModelliRiclassific"));
}

PLV_EXPORT bool __DModelliRiclassific_Dispose(HWND hWnd, long hDocument)
{
	return AfxDisposeDocumentExport(hWnd, &__DModelliRiclassific_Dispose, hDocument);
}

// ---- members ------------------------------------------------------------------------------------

PLV_EXPORT bool __Kvz_CComparazioneRiclassificDoc_GetRigaComparazione(HWND hWnd, CObject* pContext, int nRiga, BSTR* pCodice, BSTR* pDescrizione, double* pImporto1, double* pImporto2, double* pDifferenza, double* pPercentuale, double* pImporto3, double* pImporto4, int* pTipoRiga, double* pImporto5, double* pImporto6, int* pLivello)
{
	return AfxCallMemberExport(hWnd, pContext, &Kvz_CComparazioneRiclassificDoc::GetRigaComparazione, nRiga, pCodice, pDescrizione, pImporto1, pImporto2, pDifferenza, pPercentuale, pImporto3, pImporto4, pTipoRiga, pImporto5, pImporto6, pLivello);
}

PLV_EXPORT int __CRiclassificPianoBaseDoc_Kvz_GetEsercizioRiclassific(HWND hWnd, CObject* pContext)
{
	return AfxCallMemberExport(hWnd, pContext, &Kvz_CRiclassificPianoBaseDoc::Kvz_GetEsercizioRiclassific);
}

PLV_EXPORT int __CRiclassificPianoBaseDoc_Kvz_GetDalMeseRiclassific(HWND hWnd, CObject* pContext)
{
	return AfxCallMemberExport(hWnd, pContext, &Kvz_CRiclassificPianoBaseDoc::Kvz_GetDalMeseRiclassific);
}

PLV_EXPORT BSTR __CRiclassificPianoBaseDoc_Kvz_GetModelloRiclassific(HWND hWnd, CObject* pContext)
{
	return AfxCallMemberExport(hWnd, pContext, &Kvz_CRiclassificPianoBaseDoc::Kvz_GetModelloRiclassific);
}

PLV_EXPORT bool __CRiclassificPianoBaseDoc_Kvz_QualcosaInQuadrim2(HWND hWnd, CObject* pContext)
{
	return AfxCallMemberExport(hWnd, pContext, &Kvz_CRiclassificPianoBaseDoc::Kvz_QualcosaInQuadrim2);
}

PLV_EXPORT bool __CRiclassificPianoBaseDoc_Kvz_QualcosaInQuadrim3(HWND hWnd, CObject* pContext)
{
	return AfxCallMemberExport(hWnd, pContext, &Kvz_CRiclassificPianoBaseDoc::Kvz_QualcosaInQuadrim3);
}

PLV_EXPORT bool __CRiclassificPianoBaseDoc_Kvz_GetRigaQuadrim1(HWND hWnd, CObject* pContext, int nRiga, BSTR* pCodice, BSTR* pDescrizione, double* pImporto1, double* pImporto2, double* pImporto3, double* pImporto4, double* pImporto5, double* pImporto6, double* pImporto7, double* pImporto8, double* pImporto9, double* pImporto10, int* pTipoRiga)
{
	return AfxCallMemberExport(hWnd, pContext, &Kvz_CRiclassificPianoBaseDoc::Kvz_GetRigaQuadrim1, nRiga, pCodice, pDescrizione, pImporto1, pImporto2, pImporto3, pImporto4, pImporto5, pImporto6, pImporto7, pImporto8, pImporto9, pImporto10, pTipoRiga);
}

PLV_EXPORT bool __CRiclassificPianoBaseDoc_Kvz_GetRigaQuadrim2(HWND hWnd, CObject* pContext, int nRiga, BSTR* pCodice, BSTR* pDescrizione, double* pImporto1, double* pImporto2, double* pImporto3, double* pImporto4, double* pImporto5, double* pImporto6, double* pImporto7, double* pImporto8, double* pImporto9, double* pImporto10, int* pTipoRiga)
{
	return AfxCallMemberExport(hWnd, pContext, &Kvz_CRiclassificPianoBaseDoc::Kvz_GetRigaQuadrim2, nRiga, pCodice, pDescrizione, pImporto1, pImporto2, pImporto3, pImporto4, pImporto5, pImporto6, pImporto7, pImporto8, pImporto9, pImporto10, pTipoRiga);
}

PLV_EXPORT bool __CRiclassificPianoBaseDoc_Kvz_GetRigaQuadrim3(HWND hWnd, CObject* pContext, int nRiga, BSTR* pCodice, BSTR* pDescrizione, double* pImporto1, double* pImporto2, double* pImporto3, double* pImporto4, double* pImporto5, double* pImporto6, double* pImporto7, double* pImporto8, double* pImporto9, double* pImporto10, int* pTipoRiga)
{
	return AfxCallMemberExport(hWnd, pContext, &Kvz_CRiclassificPianoBaseDoc::Kvz_GetRigaQuadrim3, nRiga, pCodice, pDescrizione, pImporto1, pImporto2, pImporto3, pImporto4, pImporto5, pImporto6, pImporto7, pImporto8, pImporto9, pImporto10, pTipoRiga);
}

PLV_EXPORT bool __CStampaReportRiclassificDoc_Kvz_QualcosaInQuadrim1(HWND hWnd, CObject* pContext)
{
	return AfxCallMemberExport(hWnd, pContext, &Kvz_CStampaReportRiclassificDoc::Kvz_QualcosaInQuadrim1);
}

PLV_EXPORT bool __CStampaReportRiclassificDoc_Kvz_QualcosaInQuadrim2(HWND hWnd, CObject* pContext)
{
	return AfxCallMemberExport(hWnd, pContext, &Kvz_CStampaReportRiclassificDoc::Kvz_QualcosaInQuadrim2);
}

PLV_EXPORT bool __CStampaReportRiclassificDoc_Kvz_QualcosaInQuadrim3(HWND hWnd, CObject* pContext)
{
	return AfxCallMemberExport(hWnd, pContext, &Kvz_CStampaReportRiclassificDoc::Kvz_QualcosaInQuadrim3);
}

PLV_EXPORT double __CStampaReportRiclassificDoc_Kvz_GetValoreDelMese(HWND hWnd, CObject* pContext, int nEsercizio, BSTR modello, int nMese, BSTR codice, BSTR colonna, int nTipoDato)
{
	return AfxCallMemberExport(hWnd, pContext, &Kvz_CStampaReportRiclassificDoc::Kvz_GetValoreDelMese, nEsercizio, modello, nMese, codice, colonna, nTipoDato);
}

PLV_EXPORT bool __CStampaReportRiclassificDoc_Kvz_GetRigaQuadrim1(HWND hWnd, CObject* pContext, int nRiga, BSTR* pCodice, BSTR* pDescrizione, double* pImporto1, double* pImporto2, double* pImporto3, double* pImporto4, double* pImporto5, double* pImporto6, double* pImporto7, double* pImporto8, double* pImporto9, double* pImporto10, int* pTipoRiga)
{
	return AfxCallMemberExport(hWnd, pContext, &Kvz_CStampaReportRiclassificDoc::Kvz_GetRigaQuadrim1, nRiga, pCodice, pDescrizione, pImporto1, pImporto2, pImporto3, pImporto4, pImporto5, pImporto6, pImporto7, pImporto8, pImporto9, pImporto10, pTipoRiga);
}

PLV_EXPORT bool __CStampaReportRiclassificDoc_Kvz_GetRigaQuadrim2(HWND hWnd, CObject* pContext, int nRiga, BSTR* pCodice, BSTR* pDescrizione, double* pImporto1, double* pImporto2, double* pImporto3, double* pImporto4, double* pImporto5, double* pImporto6, double* pImporto7, double* pImporto8, double* pImporto9, double* pImporto10, int* pTipoRiga)
{
	return AfxCallMemberExport(hWnd, pContext, &Kvz_CStampaReportRiclassificDoc::Kvz_GetRigaQuadrim2, nRiga, pCodice, pDescrizione, pImporto1, pImporto2, pImporto3, pImporto4, pImporto5, pImporto6, pImporto7, pImporto8, pImporto9, pImporto10, pTipoRiga);
}

PLV_EXPORT bool __CStampaReportRiclassificDoc_Kvz_GetRigaQuadrim3(HWND hWnd, CObject* pContext, int nRiga, BSTR* pCodice, BSTR* pDescrizione, double* pImporto1, double* pImporto2, double* pImporto3, double* pImporto4, double* pImporto5, double* pImporto6, double* pImporto7, double* pImporto8, double* pImporto9, double* pImporto10, int* pTipoRiga)
{
	return AfxCallMemberExport(hWnd, pContext, &Kvz_CStampaReportRiclassificDoc::Kvz_GetRigaQuadrim3, nRiga, pCodice, pDescrizione, pImporto1, pImporto2, pImporto3, pImporto4, pImporto5, pImporto6, pImporto7, pImporto8, pImporto9, pImporto10, pTipoRiga);
}

PLV_EXPORT bool __BDStampaRiclassificatoDoc_Kvz_GetNextModelloPerStampa(HWND hWnd, CObject* pContext, int nRiga, BSTR* pModello, BSTR* pDescrizione)
{
	return AfxCallMemberExport(hWnd, pContext, &BDStampaRiclassificatoDoc::Kvz_GetNextModelloPerStampa, nRiga, pModello, pDescrizione);
}

PLV_EXPORT bool __BDStampaRiclassificatoDoc_Kvz_GetNextCodiciPerStampa_1(HWND hWnd, CObject* pContext, BSTR codice, double* pImporto1, double* pImporto2, double* pImporto3, double* pImporto4, double* pImporto5, double* pImporto6, double* pImporto7, double* pImporto8, double* pImporto9, double* pImporto10, double* pImporto11, double* pImporto12, double* pImporto13, double* pImporto14, double* pImporto15, double* pImporto16, double* pImporto17, double* pImporto18, double* pImporto19, double* pImporto20, double* pImporto21, double* pImporto22, double* pImporto23, double* pImporto24, double* pImporto25, double* pImporto26, double* pImporto27, double* pImporto28, double* pImporto29, double* pImporto30, double* pImporto31, double* pImporto32, double* pImporto33, double* pImporto34, double* pImporto35)
{
	return AfxCallMemberExport(hWnd, pContext, &BDStampaRiclassificatoDoc::Kvz_GetNextCodiciPerStampa_1, codice, pImporto1, pImporto2, pImporto3, pImporto4, pImporto5, pImporto6, pImporto7, pImporto8, pImporto9, pImporto10, pImporto11, pImporto12, pImporto13, pImporto14, pImporto15, pImporto16, pImporto17, pImporto18, pImporto19, pImporto20, pImporto21, pImporto22, pImporto23, pImporto24, pImporto25, pImporto26, pImporto27, pImporto28, pImporto29, pImporto30, pImporto31, pImporto32, pImporto33, pImporto34, pImporto35);
}

PLV_EXPORT bool __BDStampaRiclassificatoDoc_Kvz_GetNextCodiciPerStampa_2(HWND hWnd, CObject* pContext, BSTR codice, double* pImporto1, double* pImporto2, double* pImporto3, double* pImporto4, double* pImporto5, double* pImporto6, double* pImporto7, double* pImporto8, double* pImporto9, double* pImporto10, double* pImporto11, double* pImporto12, double* pImporto13, double* pImporto14, double* pImporto15, double* pImporto16, double* pImporto17, double* pImporto18, double* pImporto19, double* pImporto20, double* pImporto21, double* pImporto22, double* pImporto23, double* pImporto24, double* pImporto25, double* pImporto26, double* pImporto27, double* pImporto28, double* pImporto29, double* pImporto30, double* pImporto31, double* pImporto32, double* pImporto33, double* pImporto34, double* pImporto35)
{
	return AfxCallMemberExport(hWnd, pContext, &BDStampaRiclassificatoDoc::Kvz_GetNextCodiciPerStampa_2, codice, pImporto1, pImporto2, pImporto3, pImporto4, pImporto5, pImporto6, pImporto7, pImporto8, pImporto9, pImporto10, pImporto11, pImporto12, pImporto13, pImporto14, pImporto15, pImporto16, pImporto17, pImporto18, pImporto19, pImporto20, pImporto21, pImporto22, pImporto23, pImporto24, pImporto25, pImporto26, pImporto27, pImporto28, pImporto29, pImporto30, pImporto31, pImporto32, pImporto33, pImporto34, pImporto35);
}

PLV_EXPORT bool __BDStampaRiclassificatoDoc_Kvz_GetNextCodiciPerStampa_3(HWND hWnd, CObject* pContext, BSTR codice, double* pImporto1, double* pImporto2, double* pImporto3, double* pImporto4, double* pImporto5, double* pImporto6, double* pImporto7, double* pImporto8, double* pImporto9, double* pImporto10, double* pImporto11, double* pImporto12, double* pImporto13, double* pImporto14, double* pImporto15, double* pImporto16, double* pImporto17, double* pImporto18, double* pImporto19, double* pImporto20, double* pImporto21, double* pImporto22, double* pImporto23, double* pImporto24, double* pImporto25, double* pImporto26, double* pImporto27, double* pImporto28, double* pImporto29)
{
	return AfxCallMemberExport(hWnd, pContext, &BDStampaRiclassificatoDoc::Kvz_GetNextCodiciPerStampa_3, codice, pImporto1, pImporto2, pImporto3, pImporto4, pImporto5, pImporto6, pImporto7, pImporto8, pImporto9, pImporto10, pImporto11, pImporto12, pImporto13, pImporto14, pImporto15, pImporto16, pImporto17, pImporto18, pImporto19, pImporto20, pImporto21, pImporto22, pImporto23, pImporto24, pImporto25, pImporto26, pImporto27, pImporto28, pImporto29);
}

PLV_EXPORT bool __BDStampaRiclassificatoDoc_Kvz_GetNextCodiciPerStampa_4(HWND hWnd, CObject* pContext, BSTR codice, double* pImporto1, double* pImporto2, double* pImporto3, double* pImporto4, double* pImporto5, double* pImporto6, double* pImporto7, double* pImporto8, double* pImporto9, double* pImporto10, double* pImporto11)
{
	return AfxCallMemberExport(hWnd, pContext, &BDStampaRiclassificatoDoc::Kvz_GetNextCodiciPerStampa_4, codice, pImporto1, pImporto2, pImporto3, pImporto4, pImporto5, pImporto6, pImporto7, pImporto8, pImporto9, pImporto10, pImporto11);
}

PLV_EXPORT bool __BDStampaRiclassificatoDoc_Kvz_CancellaSelezionati(HWND hWnd, CObject* pContext)
{
	return AfxCallMemberExport(hWnd, pContext, &BDStampaRiclassificatoDoc::Kvz_CancellaSelezionati);
}

PLV_EXPORT bool __BDStampaRiclassificatoDoc_Kvz_GetNextDescrizioniPerStampa(HWND hWnd, CObject* pContext, BSTR* pDescr1, BSTR* pDescr2, BSTR* pDescr3, BSTR* pDescr4, BSTR* pDescr5, BSTR* pDescr6, BSTR* pDescr7, BSTR* pDescr8, BSTR* pDescr9)
{
	return AfxCallMemberExport(hWnd, pContext, &BDStampaRiclassificatoDoc::Kvz_GetNextDescrizioniPerStampa, pDescr1, pDescr2, pDescr3, pDescr4, pDescr5, pDescr6, pDescr7, pDescr8, pDescr9);
}

PLV_EXPORT bool __CDeRiclassificazioniDoc_Kvz_GetNextRigaEsplos(HWND hWnd, CObject* pContext, int* pRiga, BSTR* pTitolo, BSTR* pTesto)
{
	return AfxCallMemberExport(hWnd, pContext, &Kvz_CDeRiclassificazioniDoc::Kvz_GetNextRigaEsplos, pRiga, pTitolo, pTesto);
}

PLV_EXPORT bool __CDeRiclassificazioniDoc_Kvz_GetSubNextRigaEsplos(HWND hWnd, CObject* pContext, int nRiga, int* pSubRiga, BSTR* pTesto1, BSTR* pTesto2, BSTR* pTesto3, BSTR* pTesto4, BSTR* pTesto5, BSTR* pTesto6, double* pImporto1, double* pImporto2)
{
	return AfxCallMemberExport(hWnd, pContext, &Kvz_CDeRiclassificazioniDoc::Kvz_GetSubNextRigaEsplos, nRiga, pSubRiga, pTesto1, pTesto2, pTesto3, pTesto4, pTesto5, pTesto6, pImporto1, pImporto2);
}

PLV_EXPORT bool __CDeRiclassificazioniDoc_Kvz_GetDescrRigaEsplos(HWND hWnd, CObject* pContext, int nRiga, BSTR* pDescrizione, int* pLivello, bool* pSimbolo)
{
	return AfxCallMemberExport(hWnd, pContext, &Kvz_CDeRiclassificazioniDoc::Kvz_GetDescrRigaEsplos, nRiga, pDescrizione, pLivello, pSimbolo);
}
