#include "kvznet/kvzdrivers/kvzappl/BDCopiaDrivers.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagSimboli.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TElencoContiSimboloPBase.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliCodiciExtracont.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliCodiciRiclass.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliOutputRiclass.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliPianoBase.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvoledb/SqlException.h"

namespace {
const char* const kSource = "BDCopiaDrivers";

CString Testo(LPCTSTR sz)
{
	return AfxLoadSourceString(sz, kSource);
}

void MostraErrore(const SqlException& e, const char* szMetodo)
{
	ASSERT_RELEASE_TRACE(e.IsKindOf(SqlException::GetThisClass()), szMetodo, kSource);
	e.ShowError(_T(""));
}

// Every row of a symbol table owned by a driver in a year, read in full before anything is
// written, so that the rows added are never read again by the same scan.
template <class Rec>
std::vector<std::unique_ptr<Rec>> LeggiSimboli(SqlSession* pSession, const DataInt& aEsercizio, const DataStr& aDriver)
{
	std::vector<std::unique_ptr<Rec>> righe;
	Rec aLetta;
	SqlTable aTable(&aLetta, pSession);
	aTable.Open(FALSE);
	aTable.SelectAll();
	aTable.AddParam(_T("p10"), aLetta.f_Esercizio);
	aTable.AddFilterColumn(aLetta.f_Esercizio, _T(""));
	aTable.AddParam(_T("p9"), aLetta.f_ModelloRiclassific);
	aTable.AddFilterColumn(aLetta.f_ModelloRiclassific, _T(""));
	aTable.AddSortColumn(aLetta.f_NomeSimbolo);
	aTable.SetParamValue(_T("p10"), aEsercizio);
	aTable.SetParamValue(_T("p9"), aDriver);
	for (aTable.Query(); !aTable.IsEOF(); aTable.MoveNext())
		righe.push_back(std::make_unique<Rec>(aLetta));
	aTable.Close();
	return righe;
}

// Copies the symbols of one table that the target year lacks.
template <class Rec, class Updater, class Extra>
void CopiaTabella(SqlSession* pLettura, SqlSession* pScrittura, const DataInt& aEsDa, const DataInt& aEsA,
				  const DataStr& aDriver, Extra extra)
{
	Updater aUpdater;
	aUpdater.SetSqlSession(pScrittura);
	aUpdater.SetAutocommit(TRUE);
	for (const auto& pOrig : LeggiSimboli<Rec>(pLettura, aEsDa, aDriver))
	{
		if (aUpdater.FindRecord(aEsA, pOrig->f_NomeSimbolo, aDriver, FALSE) != TableReader::NOT_FOUND)
			continue;
		auto* pDest = static_cast<Rec*>(aUpdater.GetRecord());
		*static_cast<SqlRecord*>(pDest) = *pOrig;
		pDest->f_Esercizio = aEsA;
		pDest->f_ModelloRiclassific = aDriver;
		extra(*pDest);
		aUpdater.UpdateRecord(FALSE);
	}
	aUpdater.Free();
}

// A symbol valued from a year points to the target year.
template <class Rec>
void AnnoValore(Rec& r, const DataInt& aEsA)
{
	if (r.f_ValoreEs.GetValue() > 0)
		r.f_ValoreEs = aEsA;
}
}  // namespace

BEGIN_MESSAGE_MAP(BDCopiaDrivers, CAbstractFormDoc)
	ON_BN_CLICKED(IDC_COPIA_DRIVERS_TUTTI, OnTuttiChanged)
	ON_EN_VALUE_CHANGED(IDC_COPIA_DRIVERS_TUTTI, OnTuttiChanged)
	ON_EN_VALUE_CHANGED(IDC_COPIA_DRIVERS_ESERCIZIO, OnEsercizioChanged)
END_MESSAGE_MAP()

BDCopiaDrivers::BDCopiaDrivers()
	: m_EsercizioDaCopiare(AfxGetApplicationDate().Year() - 1),
	  m_EsercizioTarget(AfxGetApplicationDate().Year()),
	  m_Tutti(TRUE),
	  m_Riscrivere(FALSE)
{
	m_DalCodice.SetUpperCase(TRUE);
	m_AlCodice.SetUpperCase(TRUE);
}

BOOL BDCopiaDrivers::OnAttachData()
{
	SetFormTitle(Testo(_T("Copia drivers")));
	m_Spiegazione = Testo(_T("Copia drivers dall'esercizio richiesto cambiando i riferimenti interni"));
	m_pHKLDal = new HKLKvzDriversTesta;
	m_pHKLAl = new HKLKvzDriversTesta;
	Attach(m_pHKLDal, CString());
	Attach(m_pHKLAl, CString());
	m_pHKLDal->SetEsercizio(m_EsercizioDaCopiare);
	m_pHKLAl->SetEsercizio(m_EsercizioDaCopiare);
	return TRUE;
}

void BDCopiaDrivers::DisableControlsForBatch()
{
	m_DalCodice.SetReadOnly(m_Tutti);
	m_AlCodice.SetReadOnly(m_Tutti);
}

void BDCopiaDrivers::OnTuttiChanged()
{
	DisableControlsForBatch();
	UpdateDataView();
}

void BDCopiaDrivers::OnEsercizioChanged()
{
	m_pHKLDal->SetEsercizio(m_EsercizioDaCopiare);
	m_pHKLAl->SetEsercizio(m_EsercizioDaCopiare);
}

void BDCopiaDrivers::Stato(LPCTSTR szTesto)
{
	m_StatoElab = Testo(szTesto);
	SetProgressText(m_StatoElab.GetString());
	UpdateDataView();
}

// A year copied onto itself would delete the symbols it is about to read: refused before the
// transaction opens.
void BDCopiaDrivers::OnBatchExecute()
{
	if (m_EsercizioDaCopiare.GetValue() == m_EsercizioTarget.GetValue())
	{
		AfxMessageBox(CString::Formatted(Testo(_T("L'esercizio da copiare (%d) è l'esercizio corrente: indicarne un altro.")),
										 m_EsercizioDaCopiare.GetValue()));
		SetCtrlFocus(IDC_COPIA_DRIVERS_ESERCIZIO);
		m_bBatchNotStarted = true;
		return;
	}
	if (!StartBatchTransaction())
		return;
	BeginWaitCursor();
	EffettuaCopiaTeste();
	EffettuaCopiaModelli();
	EffettuaCopiaCosti();
	EffettuaCopiaIncrementi();
	Stato(GetScheduler()->IsAborted() ? _T("Elaborazione interrotta su richiesta utente.") : _T("Elaborazione terminata."));
	EndWaitCursor();
	GetContext()->Commit();
}

template <class Rec>
void BDCopiaDrivers::Passo(LPCTSTR szStato, std::initializer_list<std::pair<LPCTSTR, LPCTSTR>> chiavi,
						   void (*adatta)(BDCopiaDrivers&, Rec&), void (BDCopiaDrivers::*dopo)(const Rec&))
{
	Rec aOrig;
	Rec aDest;
	SqlTable aSorgente(&aOrig, GetReadOnlySqlSession());
	SqlTable aTarget(&aDest, GetUpdatableSqlSession());
	Stato(szStato);
	try
	{
		aSorgente.Open(FALSE);
		aSorgente.SelectAll();
		aSorgente.AddParam(_T("p1"), aOrig.f_Esercizio);
		aSorgente.AddFilterColumn(aOrig.f_Esercizio, _T(""));
		if (!m_Tutti)
		{
			aSorgente.AddParam(_T("p4"), aOrig.f_ModelloDrivers);
			aSorgente.AddFilterColumn(aOrig.f_ModelloDrivers, _T(">="));
			aSorgente.AddParam(_T("p5"), aOrig.f_ModelloDrivers);
			aSorgente.AddFilterColumn(aOrig.f_ModelloDrivers, _T("<="));
		}
		aSorgente.AddSortColumn(aOrig.f_ModelloDrivers);
		aSorgente.SetParamValue(_T("p1"), m_EsercizioDaCopiare);
		if (!m_Tutti)
		{
			aSorgente.SetParamValue(_T("p4"), m_DalCodice);
			aSorgente.SetParamValue(_T("p5"), m_AlCodice);
		}

		aTarget.SetAutocommit(TRUE);
		aTarget.Open(TRUE);
		aTarget.SelectAll();
		aTarget.AddParam(_T("p2"), aDest.f_Esercizio);
		aTarget.AddFilterColumn(aDest.f_Esercizio, _T(""));
		for (const auto& [szParam, szColonna] : chiavi)
		{
			aTarget.AddParam(szParam, *aDest.GetDataObjFromColumnName(szColonna));
			aTarget.AddFilterColumn(*aDest.GetDataObjFromColumnName(szColonna), _T(""));
		}

		long nRighe = 0, nRiga = 0;
		{
			// The count first, for the progress.
			Rec aConta;
			DataLng n;
			SqlTable conta(&aConta, GetReadOnlySqlSession());
			conta.Open(FALSE);
			conta.SelectSqlFun("COUNT(*)", n);
			conta.AddParam(_T("p1"), aConta.f_Esercizio);
			conta.AddFilterColumn(aConta.f_Esercizio, _T(""));
			if (!m_Tutti)
			{
				conta.AddParam(_T("p4"), aConta.f_ModelloDrivers);
				conta.AddFilterColumn(aConta.f_ModelloDrivers, _T(">="));
				conta.AddParam(_T("p5"), aConta.f_ModelloDrivers);
				conta.AddFilterColumn(aConta.f_ModelloDrivers, _T("<="));
				conta.SetParamValue(_T("p4"), m_DalCodice);
				conta.SetParamValue(_T("p5"), m_AlCodice);
			}
			conta.SetParamValue(_T("p1"), m_EsercizioDaCopiare);
			conta.Query();
			nRighe = conta.IsEOF() ? 0 : static_cast<long>(n);
			conta.Close();
		}
		for (aSorgente.Query(); !aSorgente.IsEOF(); aSorgente.MoveNext())
		{
			++nRiga;
			SetProgressText(CString::Formatted("%s (%ld di %ld)", m_StatoElab.GetString().GetString(), nRiga,
											   std::max(nRiga, nRighe)));
			aTarget.SetParamValue(_T("p2"), m_EsercizioTarget);
			for (const auto& [szParam, szColonna] : chiavi)
				aTarget.SetParamValue(szParam, *aOrig.GetDataObjFromColumnName(szColonna));
			aTarget.Query();
			if (!aTarget.IsEOF())
			{
				if (!m_Riscrivere)
					continue;
				aTarget.Edit();
			}
			else
				aTarget.AddNew();
			static_cast<SqlRecord&>(aDest) = aOrig;
			aDest.f_Esercizio = m_EsercizioTarget;
			if (adatta)
				adatta(*this, aDest);
			aDest.SetStorable();
			aTarget.Update();
			if (dopo)
				(this->*dopo)(aOrig);
		}
		aSorgente.Close();
		aTarget.Close();
	}
	catch (const SqlException& e)
	{
		for (SqlTable* p : {&aSorgente, &aTarget})
			if (p->IsOpen())
				p->Close();
		MostraErrore(e, "BDCopiaDrivers::Passo");
	}
}

void BDCopiaDrivers::EffettuaCopiaTeste()
{
	Passo<TKvzDriversTesta>(_T("Copia teste drivers in corso...."), {{_T("p3"), _T("ModelloDrivers")}}, nullptr,
							&BDCopiaDrivers::CopiaSimboliTesta);
}

void BDCopiaDrivers::EffettuaCopiaModelli()
{
	Passo<TKvzDriversModelli>(
		_T("Copia modelli drivers in corso...."),
		{{_T("p31"), _T("Ditta")}, {_T("p3"), _T("ModelloDrivers")}, {_T("p8"), _T("ModelloRiclassific")}},
		[](BDCopiaDrivers& doc, TKvzDriversModelli& r) { r.f_EsercizioRiclassific = doc.m_EsercizioTarget; }, nullptr);
}

void BDCopiaDrivers::EffettuaCopiaCosti()
{
	Passo<TKvzDriversCosti>(_T("Copia costi drivers in corso...."),
							{{_T("p3"), _T("ModelloDrivers")}, {_T("p6"), _T("CodRiclassificCosto")}}, nullptr, nullptr);
}

// Two increments of a model and cost line that differ by company are two rows: the company is
// part of the key they are found by.
void BDCopiaDrivers::EffettuaCopiaIncrementi()
{
	Passo<TKvzDriversIncrementi>(_T("Copia incrementi drivers in corso...."),
								 {{_T("p3"), _T("ModelloDrivers")},
								  {_T("p31"), _T("Ditta")},
								  {_T("p6"), _T("CodRiclassificCosto")},
								  {_T("p7"), _T("ModelloRiclassificInter")}},
								 nullptr, nullptr);
}

namespace {
// Deletes a driver's rows of a year from one symbol table; the values are bound, never written
// into the statement.
template <class Rec>
void AzzeraTabellaModello(SqlSession* pSession, const DataInt& aEsercizio, const DataStr& aDriver)
{
	Rec aRec(FALSE);
	const CString sql = CString::Formatted("DELETE FROM %s WHERE %s=? AND %s=?", aRec.GetTableName().GetString(),
										   aRec.GetColumnName(&aRec.f_Esercizio).GetString(),
										   aRec.GetColumnName(&aRec.f_ModelloRiclassific).GetString());
	pSession->ExecuteSQL(sql, {&aEsercizio, &aDriver});
}
}  // namespace

void BDCopiaDrivers::CopiaSimboli(const DataStr& aDriver)
{
	SqlSession* pLettura = GetReadOnlySqlSession();
	SqlSession* pScrittura = GetUpdatableSqlSession();
	const DataInt aEsDa = m_EsercizioDaCopiare;
	const DataInt aEsA = m_EsercizioTarget;
	// Each table on its own: a failure ends only that table's step.
	auto passo = [](auto fn) {
		try
		{
			fn();
		}
		catch (const SqlException& e)
		{
			MostraErrore(e, "BDCopiaDrivers::CopiaSimboli");
		}
	};
	passo([&] { AzzeraTabellaModello<Kvz_TAnagSimboli>(pScrittura, aEsA, aDriver); });
	passo([&] { AzzeraTabellaModello<Kvz_TSimboliPianoBase>(pScrittura, aEsA, aDriver); });
	passo([&] { AzzeraTabellaModello<Kvz_TElencoContiSimboloPBase>(pScrittura, aEsA, aDriver); });
	passo([&] { AzzeraTabellaModello<Kvz_TSimboliCodiciExtracont>(pScrittura, aEsA, aDriver); });
	passo([&] { AzzeraTabellaModello<Kvz_TSimboliCodiciRiclass>(pScrittura, aEsA, aDriver); });
	passo([&] { AzzeraTabellaModello<Kvz_TSimboliOutputRiclass>(pScrittura, aEsA, aDriver); });

	const DataDate aOggi = AfxGetApplicationDate();
	passo([&] {
		CopiaTabella<Kvz_TAnagSimboli, Kvz_TUAnagSimboli>(pLettura, pScrittura, aEsDa, aEsA, aDriver,
														  [&aOggi](Kvz_TAnagSimboli& r) {
															  r.f_DataCreazione = aOggi;
															  r.f_DataUltModifica = aOggi;
														  });
	});
	passo([&] {
		CopiaTabella<Kvz_TSimboliPianoBase, Kvz_TUSimboliPianoBase>(pLettura, pScrittura, aEsDa, aEsA, aDriver,
																	[](Kvz_TSimboliPianoBase&) {});
	});
	passo([&] {
		Kvz_TElencoContiSimboloPBase aNuovo;
		SqlTable aScrivi(&aNuovo, pScrittura);
		aScrivi.SetAutocommit(TRUE);
		aScrivi.Open(TRUE);
		for (const auto& pConto : LeggiSimboli<Kvz_TElencoContiSimboloPBase>(pScrittura, aEsDa, aDriver))
		{
			aScrivi.AddNew(TRUE);
			aNuovo = *pConto;
			aNuovo.f_Esercizio = aEsA;
			aNuovo.f_ModelloRiclassific = aDriver;
			aNuovo.SetStorable();
			aScrivi.Update();
		}
		aScrivi.Close();
	});
	passo([&] {
		CopiaTabella<Kvz_TSimboliCodiciExtracont, Kvz_TUSimboliCodiciExtracont>(pLettura, pScrittura, aEsDa, aEsA,
																				aDriver, [](Kvz_TSimboliCodiciExtracont&) {});
	});
	passo([&] {
		CopiaTabella<Kvz_TSimboliCodiciRiclass, Kvz_TUSimboliCodiciRiclass>(
			pLettura, pScrittura, aEsDa, aEsA, aDriver, [&aEsA](Kvz_TSimboliCodiciRiclass& r) { AnnoValore(r, aEsA); });
	});
	passo([&] {
		CopiaTabella<Kvz_TSimboliOutputRiclass, Kvz_TUSimboliOutputRiclass>(
			pLettura, pScrittura, aEsDa, aEsA, aDriver, [&aEsA](Kvz_TSimboliOutputRiclass& r) { AnnoValore(r, aEsA); });
	});
}

void CopiaDriversView::BuildDataControlLinks()
{
	auto* pDoc = static_cast<BDCopiaDrivers*>(GetDocument());
	AddLink(IDC_COPIA_DRIVERS_SPIEGAZIONE, _T("COPIA_DRIVERS_DESCRIZIONE"), RUNTIME_CLASS(CStrStatic),
			&pDoc->m_Spiegazione);
	AddLink(IDC_COPIA_DRIVERS_ESERCIZIO, _T("COPIA_DRIVERS_ESERCIZIO"), RUNTIME_CLASS(CIntEdit),
			&pDoc->m_EsercizioDaCopiare);
	pDoc->m_EsercizioDaCopiare.SetFieldRule(FieldRule::AnYear());
	AddLink(IDC_COPIA_DRIVERS_TUTTI, _T("COPIA_DRIVERS_TUTTI"), RUNTIME_CLASS(CBoolButton), &pDoc->m_Tutti);
	AddLink(IDC_COPIA_DRIVERS_RISCRIVERE, _T("COPIA_DRIVERS_RISCRIVERE_DRIVERS"), RUNTIME_CLASS(CBoolButton),
			&pDoc->m_Riscrivere);
	AddLink(IDC_COPIA_DRIVERS_DAL_CODICE, _T("COPIA_DRIVERS_DAL_CODICE"), RUNTIME_CLASS(CStrEdit), &pDoc->m_DalCodice,
			pDoc->GetHKLDal());
	AddLink(IDC_COPIA_DRIVERS_DESCRI_DAL, _T("COPIA_DRIVERS_DESCRI_DAL_CODICE"), RUNTIME_CLASS(CStrStatic),
			&pDoc->GetHKLDal()->GetRecord()->f_Descrizione);
	AddLink(IDC_COPIA_DRIVERS_AL_CODICE, _T("COPIA_DRIVERS_AL_CODICE"), RUNTIME_CLASS(CStrEdit), &pDoc->m_AlCodice,
			pDoc->GetHKLAl());
	AddLink(IDC_COPIA_DRIVERS_DESCRI_AL, _T("COPIA_DRIVERS_DESCRI_AL_CODICE"), RUNTIME_CLASS(CStrStatic),
			&pDoc->GetHKLAl()->GetRecord()->f_Descrizione);
	AddLink(IDC_COPIA_DRIVERS_STATO, _T("COPIA_DRIVERS_STATO_ELABORAZIONE"), RUNTIME_CLASS(CStrStatic),
			&pDoc->m_StatoElab);
	SetLabels({{_T("COPIA_DRIVERS_DESCRIZIONE"), _T("Spiegazione")},
			   {_T("COPIA_DRIVERS_ESERCIZIO"), _T("Esercizio da copiare")},
			   {_T("COPIA_DRIVERS_TUTTI"), _T("Tutti")},
			   {_T("COPIA_DRIVERS_RISCRIVERE_DRIVERS"), _T("Riscrivere drivers esistenti")},
			   {_T("COPIA_DRIVERS_DAL_CODICE"), _T("Dal codice")},
			   {_T("COPIA_DRIVERS_DESCRI_DAL_CODICE"), _T("Descrizione dal codice")},
			   {_T("COPIA_DRIVERS_AL_CODICE"), _T("Al codice")},
			   {_T("COPIA_DRIVERS_DESCRI_AL_CODICE"), _T("Descrizione al codice")},
			   {_T("COPIA_DRIVERS_STATO_ELABORAZIONE"), _T("Stato elaborazione")}});
}
