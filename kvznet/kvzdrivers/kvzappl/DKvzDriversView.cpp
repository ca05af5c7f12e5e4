// The forms of the cost-driver model document: the head, and a tab per grid.
#include "kvznet/kvzdrivers/kvzappl/DKvzDrivers.h"
#include "kvznet/kvzmod/kvzdocuments/formule/FormulaCtrl.h"
#include "platform/plvgeneric/Application.h"

namespace {
const char* const kSource = "DKvzDriversView";

CString Testo(LPCTSTR sz)
{
	return AfxLoadSourceString(sz, kSource);
}

DKvzDrivers* Documento(CParsedForm* pForm)
{
	return static_cast<DKvzDrivers*>(pForm->GetDocument());
}

// "Gennaio" .. "Dicembre".
CString Mese(int nMese)
{
	return AfxGetMonthName(nMese);
}
}  // namespace

void DKvzDriversView::BuildDataControlLinks()
{
	DKvzDrivers* pDoc = Documento(this);
	TKvzDriversTesta* pRec = pDoc->GetMasterRecord();
	AddLink(IDC_KVZDRIVERS_ESERCIZIO, Testo(_T("Anno")), RUNTIME_CLASS(CIntEdit), &pRec->f_Esercizio);
	AddLink(IDC_KVZDRIVERS_MODELLO, Testo(_T("Modello")), RUNTIME_CLASS(CStrEdit), &pRec->f_ModelloDrivers);
	AddLink(IDC_KVZDRIVERS_DESCRIZIONE, Testo(_T("Descrizione")), RUNTIME_CLASS(CStrEdit), &pRec->f_Descrizione);
	AddLink(IDC_KVZDRIVERS_DISATTIVO, Testo(_T("Disattivo")), RUNTIME_CLASS(CBoolButton), &pRec->f_Disattivo);
	AddLink(IDC_KVZDRIVERS_TIPOCALCOLO, Testo(_T("Tipo calcolo")), RUNTIME_CLASS(CEnumCombo), &pRec->f_TipoCalcolo);
	AddLink(IDC_KVZDRIVERS_RICLASSIFICAZIONE, Testo(_T("Codice drivers")), RUNTIME_CLASS(CStrEdit),
			&pRec->f_RiclassificazioneDrivers);
	AddLink(IDC_KVZDRIVERS_MAGAZZINO, Testo(_T("Codice magazzino")), RUNTIME_CLASS(CStrEdit), &pRec->f_CodMagazzino,
			pDoc->GetHKLMagazzini());
	AddLink(IDC_KVZDRIVERS_DESCRI_MAGAZZINO, _T("KVZ_DRIVERS_DESCRI_MAGAZZINO"), RUNTIME_CLASS(CStrStatic),
			&pDoc->m_DescriMagazzino);
	SetLabels({{_T("KVZ_DRIVERS_DESCRI_MAGAZZINO"), _T("Descrizione magazzino")}});
	auto* pTabber = static_cast<KvzDriversTabber*>(
		AddLink(IDC_KVZDRIVERS_TABBER, _T("KvzDrivers"), RUNTIME_CLASS(KvzDriversTabber), nullptr));
	if (pTabber)
	{
		pTabber->AddDialog(RUNTIME_CLASS(KvzDriversKvzDriversModelliTabDlg), IDD_KVZDRIVERS_MODELLI, Testo(_T("Modelli")));
		pTabber->AddDialog(RUNTIME_CLASS(KvzDriversKvzDriversCostiTabDlg), IDD_KVZDRIVERS_COSTI, Testo(_T("Costi")));
		pTabber->AddDialog(RUNTIME_CLASS(KvzDriversKvzDriversIncrementiTabDlg), IDD_KVZDRIVERS_INCREMENTI,
						   Testo(_T("Incrementi/Decrementi")));
	}
}

void KvzDriversKvzDriversModelliTabDlg::BuildDataControlLinks()
{
	AddLink(IDC_KVZDRIVERS_GRID_MODELLI, _T("KvzDriversModelli"), RUNTIME_CLASS(KvzDriversKvzDriversModelliBodyEdit),
			Documento(this)->GetDBTKvzDriversModelli());
}

void KvzDriversKvzDriversCostiTabDlg::BuildDataControlLinks()
{
	AddLink(IDC_KVZDRIVERS_GRID_COSTI, _T("KvzDriversCosti"), RUNTIME_CLASS(KvzDriversKvzDriversCostiBodyEdit),
			Documento(this)->GetDBTKvzDriversCosti());
}

void KvzDriversKvzDriversIncrementiTabDlg::BuildDataControlLinks()
{
	AddLink(IDC_KVZDRIVERS_GRID_INCREMENTI, _T("KvzDriversIncrementi"),
			RUNTIME_CLASS(KvzDriversKvzDriversIncrementiBodyEdit), Documento(this)->GetDBTKvzDriversIncrementi());
}

BOOL KvzDriversKvzDriversIncrementiTabDlg::OnPrepareAuxData()
{
	Documento(this)->SalvaTemporanei();
	return TRUE;
}

void KvzDriversKvzDriversModelliBodyEdit::Customize()
{
	DKvzDrivers* pDoc = static_cast<DKvzDrivers*>(GetDBT()->GetDocument());
	auto* pRec = static_cast<TKvzDriversModelli*>(GetDBT()->GetRecord());
	AddColumn(IDC_KVZDRIVERS_M_ESERCIZIO, _T("EsercizioRiclassific"), Testo(_T("Esercizio")), RUNTIME_CLASS(CIntEdit),
			  pRec->f_EsercizioRiclassific, 4);
	AddColumn(IDC_KVZDRIVERS_M_DITTA, _T("Ditta"), Testo(_T("Ditta")), RUNTIME_CLASS(CStrEdit), pRec->f_Ditta, 16, 1,
			  pDoc->GetHKLAziende());
	// The picker's button: a double-click on it lists the company's models.
	if (auto* pSel = DynamicDownCast<CIntBitmap>(AddColumn(IDC_KVZDRIVERS_M_SEL, _T("SelModelliDitta"), Testo(_T("Mod")),
														   RUNTIME_CLASS(CIntBitmap), pRec->l_SelModelliDitta, 3)
													 ->GetParsedCtrl()))
		pSel->SetBitmapTexts({{KVZ_BITMAP_SEL_MODELLI_DITTA, _T("Scegli")}});
	AddColumn(IDC_KVZDRIVERS_M_MODELLO, _T("ModelloRiclassific"), Testo(_T("Modello riclassificazione")),
			  RUNTIME_CLASS(CStrEdit), pRec->f_ModelloRiclassific, 10);
	AddColumn(IDC_KVZDRIVERS_M_DESCRIZIONE, _T("Descrizione"), Testo(_T("Descrizione")), RUNTIME_CLASS(CStrEdit),
			  pRec->f_Descrizione, 32, 2);
	EnableOrdering(TRUE, FALSE, FALSE);
}

void KvzDriversKvzDriversCostiBodyEdit::Customize()
{
	auto* pRec = static_cast<TKvzDriversCosti*>(GetDBT()->GetRecord());
	AddColumn(IDC_KVZDRIVERS_C_CODICE, _T("CodRiclassificCosto"), Testo(_T("Cod. riclassif.")), RUNTIME_CLASS(CStrEdit),
			  pRec->f_CodRiclassificCosto, 10);
	AddColumn(IDC_KVZDRIVERS_C_DESCRIZIONE, _T("Descrizione"), Testo(_T("Descrizione")), RUNTIME_CLASS(CStrEdit),
			  pRec->f_Descrizione, 32);
	ColumnInfo* pFormula = AddColumn(IDC_KVZDRIVERS_C_FORMULA, _T("Formula"), Testo(_T("Formula")),
									 RUNTIME_CLASS(Kvz_CFormulaEdit), pRec->f_Formula, 32);
	if (auto* pEdit = pFormula ? DynamicDownCast<Kvz_CFormulaEdit>(pFormula->GetParsedCtrl()) : nullptr)
		pEdit->SetPos(0);
	AddColumn(IDC_KVZDRIVERS_C_RIBALTAMENTO, _T("CodRiclRibaldamento"), Testo(_T("Cod. ribaltamento")),
			  RUNTIME_CLASS(CStrEdit), pRec->f_CodRiclRibaldamento, 10);
	AddColumn(IDC_KVZDRIVERS_C_RIBALTAMENTO_STD, _T("CodRiclRibaldamentoStd"), Testo(_T("Cod. ribaltamento STD")),
			  RUNTIME_CLASS(CStrEdit), pRec->f_CodRiclRibaldamentoStd, 10);
	for (int m = 0; m < 12; ++m)
		AddColumn(IDC_KVZDRIVERS_C_COSTO_STD + static_cast<UINT>(m), _T("CostoStandard") + Mese(m + 1),
				  Testo(_T("Costo std ") + Mese(m + 1).MakeLower()), RUNTIME_CLASS(CMoneyEdit),
				  pRec->f_CostoStandard[m], 12);
	EnableOrdering(TRUE, FALSE, FALSE);
}

void KvzDriversKvzDriversIncrementiBodyEdit::Customize()
{
	DKvzDrivers* pDoc = static_cast<DKvzDrivers*>(GetDBT()->GetDocument());
	auto* pRec = static_cast<TKvzDriversIncrementi*>(GetDBT()->GetRecord());
	AddColumn(IDC_KVZDRIVERS_I_DITTA, _T("Ditta"), Testo(_T("Ditta")), RUNTIME_CLASS(CStrStatic), pRec->f_Ditta, 16);
	AddColumn(IDC_KVZDRIVERS_I_MODELLO, _T("ModelloRiclassificInter"), Testo(_T("Modello")), RUNTIME_CLASS(CStrEdit),
			  pRec->f_ModelloRiclassificInter, 10, 1, pDoc->GetHKLTempModelli());
	AddColumn(IDC_KVZDRIVERS_I_DESCRI_MODELLO, _T("KvzDriversIncrementiModelloRiclassificInterHotLinkDescription"),
			  Testo(_T("Descrizione")), RUNTIME_CLASS(CStrStatic), pRec->l_DescrizioneModello, 32, 2);
	AddColumn(IDC_KVZDRIVERS_I_CODICE, _T("CodRiclassificCosto"), Testo(_T("Cod. riclassif.")), RUNTIME_CLASS(CStrEdit),
			  pRec->f_CodRiclassificCosto, 10, 1, pDoc->GetHKLTempCosti());
	AddColumn(IDC_KVZDRIVERS_I_DESCRI_CODICE, _T("KvzDriversIncrementiCodRiclassificCostoHotLinkDescription"),
			  Testo(_T("Descrizione")), RUNTIME_CLASS(CStrStatic), pRec->l_DescrizioneCosto, 32, 2);
	for (int m = 0; m < 12; ++m)
		AddColumn(IDC_KVZDRIVERS_I_MESE + static_cast<UINT>(m), _T("Incr") + Mese(m + 1), Testo(Mese(m + 1)),
				  RUNTIME_CLASS(CPercEdit), pRec->f_Incr[m], 8);
	EnableOrdering(TRUE, FALSE, FALSE);
}
