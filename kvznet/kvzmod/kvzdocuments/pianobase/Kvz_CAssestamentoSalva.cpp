// The adjustments document's save: the month rows, their detail lines and spreads, the header,
// then the change carried to the parent accounts, the linked balance-sheet account and its
// parents, and the cost centres and jobs. All of it in the document's transaction: a row held by
// someone else, or any failed statement (the propagation's included), fails the whole save and
// leaves the database as it was. SQL errors are not caught here: they reach SalvaInTransazione,
// which rolls back. A level left half-written would never be carried again, since the propagated
// changes are differences from the values last read or saved.
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "kvznet/kvzmod/kvzdbl/Kvz_TCentriCommesseContiKvz.h"
#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_CAssestamentoDoc.h"
#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_CAssestamentoInterno.h"
#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_CSelezAssestamentoDoc.h"
#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_ContoPadre.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/FormatHelpers.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvoledb/SqlTable.h"

namespace {
using kvzdocuments::assestamento::kSource;
using kvzdocuments::assestamento::Testo;
using kvzdocuments::assestamento::IsZeroMon;

// The plan id of a code (lowest first, as the selection takes it), read in the save's transaction;
// -1 for none. A database error is thrown: a level must not be skipped silently.
DataLng IDPianoBase(SqlSession* pSessione, CObject* pDoc, const DataInt& aAnno, const DataStr& aConto,
					const DataEnum& aTipo, const DataStr& aCentroComm)
{
	Kvz_TPianoBaseTesta rec;
	SqlTable table(&rec, pSessione, pDoc);
	table.Open(FALSE, FALSE, TRUE);
	table.Select(rec.f_IDPianoBase);
	table.AddParam(_T("p1"), rec.f_Esercizio);
	table.AddFilterColumn(rec.f_Esercizio);
	table.AddParam(_T("p2"), rec.f_ContoKvz);
	table.AddFilterColumn(rec.f_ContoKvz);
	table.AddParam(_T("p3"), rec.f_TipoCentroComm);
	table.AddFilterColumn(rec.f_TipoCentroComm);
	table.AddParam(_T("p4"), rec.f_CentroCommessa);
	table.AddFilterColumn(rec.f_CentroCommessa);
	table.AddSortColumn(rec.f_IDPianoBase);
	table.SetParamValue(_T("p1"), aAnno);
	table.SetParamValue(_T("p2"), aConto);
	table.SetParamValue(_T("p3"), aTipo);
	table.SetParamValue(_T("p4"), aCentroComm);
	table.Query();
	const DataLng id = table.IsEOF() ? DataLng(-1) : rec.f_IDPianoBase;
	table.Close();
	return id;
}

// Whether a month row as stored now differs from the row as the document loaded it.
bool CambiataDopoApertura(const Kvz_TEnhPianoBaseRighe& salvata, const Kvz_TEnhPianoBaseRighe& griglia)
{
	return !IsZeroMon(salvata.f_ImportoRateo - griglia.l_OldImportoRateo) ||
		   !IsZeroMon(salvata.f_TotaleAssestato - griglia.l_OldTotaleAssestato);
}

}  // namespace

DataStr Kvz_CAssestamentoDoc::CalcolaContoPadre(const DataStr& aConto, const Kvz_TParametri& aParametri)
{
	return Kvz_CalcolaContoPadre(aConto, aParametri);
}

DataLng Kvz_CAssestamentoDoc::IDPianoConto(const DataStr& aConto)
{
	return IDPianoBase(GetUpdatableSqlSession(), this, m_Anno, aConto, DataEnum(E_KVZ_TIPOCENTROCOMM, 0), DataStr());
}

void Kvz_LeggiDettaglio(SqlSession* pSession, CObject* pDoc, const DataLng& aIDPianoBase, const DataInt& aMese,
						const std::function<void(const Kvz_TPianoBaseRigaDett&)>& riga)
{
	Kvz_TPianoBaseRigaDett rec;
	SqlTable table(&rec, pSession, pDoc);
	table.Open(FALSE, FALSE, TRUE);
	table.SelectAll();
	table.AddParam(_T("p1"), rec.f_IDPianoBase);
	table.AddFilterColumn(rec.f_IDPianoBase);
	table.AddParam(_T("p2"), rec.f_Mese);
	table.AddFilterColumn(rec.f_Mese);
	table.AddSortColumn(rec.f_Mese);
	table.AddSortColumn(rec.f_Riga);
	table.SetParamValue(_T("p1"), aIDPianoBase);
	table.SetParamValue(_T("p2"), aMese);
	for (table.Query(); !table.IsEOF(); table.MoveNext())
		riga(rec);
	table.Close();
}

void Kvz_CAssestamentoDoc::AggiornaArrayDettaglio(const DataLng& aIDPianoBase, const DataInt& aMese)
{
	auto pArray = std::make_unique<Kvz_ArrayDettaglioRiga>();
	Kvz_LeggiDettaglio(GetUpdatableSqlSession(), this, aIDPianoBase, aMese, [&](const Kvz_TPianoBaseRigaDett& rec) {
		if (!rec.f_Descrizione.IsEmpty() || !rec.f_ImportoRateoDett.IsEmpty())
		{
			auto* pLinea = new Kvz_TPianoBaseRigaDett;
			*pLinea = rec;
			pArray->Add(pLinea);
		}
	});
	if (pArray->GetSize() > 0)
		SetArrayDettaglio(aMese, std::move(pArray));
}

BOOL Kvz_CAssestamentoDoc::AggiornaPiano(const DataLng& id, BOOL bLock, BOOL bSostituisci,
										 const std::function<double(const Kvz_TEnhPianoBaseRighe&)>& valore)
{
	if (id < 0)
		return TRUE;
	Jex_TUPianoBaseRighe updater(this);
	updater.SetSqlSession(GetUpdatableSqlSession());
	// The grid is in month order, as it was read.
	for (int i = 0; i < m_pDBTRighe->GetSize(); ++i)
	{
		const Kvz_TEnhPianoBaseRighe& griglia = *m_pDBTRighe->GetRiga(i);
		const double v = valore(griglia);
		// Nothing to add: the row is not touched.
		if (!bSostituisci && IsZeroMon(v))
			continue;
		const TableReader::FindResult esito = updater.FindRecord(id, griglia.f_Mese, bLock);
		if (esito == TableReader::LOCKED)
		{
			updater.Free();
			return FALSE;
		}
		if (esito != TableReader::FOUND)
			continue;
		Kvz_TEnhPianoBaseRighe* pRiga = updater.GetRecord();
		pRiga->f_ImportoRateo = bSostituisci ? v : pRiga->f_ImportoRateo + v;
		pRiga->f_TotaleAssestato = pRiga->f_SaldoContabile + pRiga->f_ImportoRateo;
		updater.UpdateRecord();
	}
	updater.Free();
	return TRUE;
}

BOOL Kvz_CAssestamentoDoc::SalvaAssestamento()
{
	const Kvz_TEnhPianoBaseTesta* pTesta = GetTesta();
	// No plan was loaded: nothing to write.
	if (!pTesta || pTesta->f_IDPianoBase.IsEmpty())
		return TRUE;
	SqlSession* pSessione = GetUpdatableSqlSession();
	Jex_TUPianoBaseRighe righe(this);
	righe.SetSqlSession(pSessione);
	Jex_TUPianoBaseRigaDett dettagli(this);
	dettagli.SetSqlSession(pSessione);
	Kvz_TURipartizioniAssestamento ripartizioni(this);
	ripartizioni.SetSqlSession(pSessione);
	auto ferma = [&] {
		righe.Free();
		dettagli.Free();
		ripartizioni.Free();
		return FALSE;
	};
	const CString cancellaDettagli = CString::Formatted("DELETE FROM \"%s\" WHERE \"IDPianoBase\" = ? AND \"Mese\" = ?",
														Kvz_TPianoBaseRigaDett::GetStaticName());

	for (int i = 0; i < m_pDBTRighe->GetSize(); ++i)
	{
		Kvz_TEnhPianoBaseRighe* pGriglia = m_pDBTRighe->GetRiga(i);
		switch (righe.FindRecord(pGriglia->f_IDPianoBase, pGriglia->f_Mese, TRUE))
		{
		case TableReader::LOCKED: return ferma();
		case TableReader::NOT_FOUND:
			// Gone meanwhile: written again.
			ASSERT_RELEASE_FAILED("righe.FindRecord() == FOUND", "Kvz_CAssestamentoDoc::SalvaAssestamento", kSource);
			break;
		default:
			// The parents take the difference from the values loaded: they must still be the
			// stored ones, or another user's change would be carried twice.
			if (CambiataDopoApertura(*righe.GetRecord(), *pGriglia))
			{
				AfxMessageBox(CString::Formatted(
								  Testo(_T("Il conto %s e' stato modificato da un altro utente dopo l'apertura: "
										   "riaprire il conto.")),
								  pGriglia->f_ContoKvz.GetString().GetString()),
							  MB_OK | MB_ICONWARNING);
				return ferma();
			}
			break;
		}
		*righe.GetRecord() = *pGriglia;
		righe.UpdateRecord();

		const int nMese = pGriglia->f_Mese;
		if (!GetArrayDettaglio(nMese))
			AggiornaArrayDettaglio(pGriglia->f_IDPianoBase, pGriglia->f_Mese);
		pSessione->ExecuteSQL(cancellaDettagli, {&pGriglia->f_IDPianoBase, &pGriglia->f_Mese});
		if (const Kvz_ArrayDettaglioRiga* pLinee = GetArrayDettaglio(nMese))
			for (int l = 0; l < pLinee->GetSize(); ++l)
			{
				const Kvz_TPianoBaseRigaDett* pLinea = pLinee->GetAt(l);
				if (dettagli.FindRecord(pGriglia->f_IDPianoBase, pGriglia->f_Mese, pLinea->f_Riga, TRUE) ==
					TableReader::LOCKED)
					return ferma();
				*dettagli.GetRecord() = *pLinea;
				dettagli.GetRecord()->f_IDPianoBase = pGriglia->f_IDPianoBase;
				dettagli.GetRecord()->f_Mese = pGriglia->f_Mese;
				dettagli.UpdateRecord();
			}
		if (const Kvz_ArrayRipartizioniRiga* pRip = GetArrayRipartizioni(nMese))
			for (int r = 0; r < pRip->GetSize(); ++r)
			{
				const Kvz_TRipartizioniAssestamento* pMese = pRip->GetAt(r);
				if (ripartizioni.FindRecord(pMese->f_ContoKvz, pMese->f_Anno, pMese->f_Mese, FALSE) ==
					TableReader::LOCKED)
					return ferma();
				*ripartizioni.GetRecord() = *pMese;
				ripartizioni.UpdateRecord();
			}
	}

	// Every month of the account and year has its spread row.
	if (m_pDBTRighe->GetSize() > 0)
	{
		const Kvz_TEnhPianoBaseRighe* pUltima = m_pDBTRighe->GetRiga(m_pDBTRighe->GetUpperBound());
		for (int m = 1; m <= 12; ++m)
		{
			const TableReader::FindResult esito =
				ripartizioni.FindRecord(pUltima->f_ContoKvz, pUltima->f_Esercizio, DataInt(m), FALSE);
			if (esito == TableReader::LOCKED)
				return ferma();
			if (esito == TableReader::FOUND)
				continue;
			Kvz_TRipartizioniAssestamento* pRec = ripartizioni.GetRecord();
			pRec->f_ContoKvz = pUltima->f_ContoKvz;
			pRec->f_Anno = pUltima->f_Esercizio;
			pRec->f_Mese = m;
			ripartizioni.UpdateRecord();
		}
	}

	Jex_TUPianoBaseTesta testa(this);
	testa.SetSqlSession(pSessione);
	switch (testa.FindRecord(pTesta->f_IDPianoBase, TRUE))
	{
	case TableReader::LOCKED: testa.Free(); return ferma();
	case TableReader::NOT_FOUND:
		ASSERT_RELEASE_FAILED("testa.FindRecord() == FOUND", "Kvz_CAssestamentoDoc::SalvaAssestamento", kSource);
		*testa.GetRecord() = *pTesta;
		break;
	default: break;
	}
	Kvz_TEnhPianoBaseTesta* pNuova = testa.GetRecord();
	pNuova->f_AssestPerTotale = m_bPerTotale;
	pNuova->f_AssestPerTotalePerc = m_bPerTotalePerc;
	pNuova->f_TipoBudget = m_TipoBudget;
	pNuova->f_DataUltModifica = AfxGetApplicationDate();
	for (DataDbl* p : std::initializer_list<DataDbl*>{
			 &pNuova->f_TotGeneraleRatei, &pNuova->f_TotRateiTrimestre1, &pNuova->f_TotRateiTrimestre2,
			 &pNuova->f_TotRateiTrimestre3, &pNuova->f_TotRateiTrimestre4, &pNuova->f_TotGeneraleAssestati,
			 &pNuova->f_TotAssestatiTrimestre1, &pNuova->f_TotAssestatiTrimestre2, &pNuova->f_TotAssestatiTrimestre3,
			 &pNuova->f_TotAssestatiTrimestre4})
		p->Clear();
	const BOOL bPerTotali = m_bPerTotale || m_bPerTotalePerc;
	if (m_bRipartTotale)
	{
		pNuova->f_TipoRipartizAssestamenti = DataEnum(E_KVZ_TIPORIPARTIZASSEST, 0);
		if (bPerTotali)
			pNuova->f_TotGeneraleAssestati = m_Totale;
		else
			pNuova->f_TotGeneraleRatei = double(m_Totale);
	}
	else
	{
		pNuova->f_TipoRipartizAssestamenti = DataEnum(E_KVZ_TIPORIPARTIZASSEST, 1);
		DataMon* assestati[] = {&pNuova->f_TotAssestatiTrimestre1, &pNuova->f_TotAssestatiTrimestre2,
								&pNuova->f_TotAssestatiTrimestre3, &pNuova->f_TotAssestatiTrimestre4};
		DataMon* ratei[] = {&pNuova->f_TotRateiTrimestre1, &pNuova->f_TotRateiTrimestre2, &pNuova->f_TotRateiTrimestre3,
							&pNuova->f_TotRateiTrimestre4};
		for (size_t q = 0; q < 4; ++q)
			*(bPerTotali ? assestati[q] : ratei[q]) = m_Trimestri[q];
	}
	testa.UpdateRecord();
	testa.Free();
	righe.Free();
	dettagli.Free();
	ripartizioni.Free();

	RicalcolaTotali(-1);
	const DataStr padre = CalcolaContoPadre(pTesta->f_ContoKvz, m_Parametri);
	if (m_CentroCommessa.IsEmpty())
	{
		if (!SalvaContoKvzLegato() || !SalvaCentriCommesse())
			return FALSE;
		return SalvaContoPadre(padre);
	}
	if (!SalvaContoDelCentro(pTesta->f_ContoKvz) || !SalvaContoKvzLegato())
		return FALSE;
	const Kvz_CSelezAssestamentoDoc* pSel = m_pChiamante;
	const Kvz_TCentriCommesseContiKvz* pCdc =
		pSel->m_pDBTCdcComm ? pSel->m_pDBTCdcComm->GetCdc(pSel->m_pDBTCdcComm->GetCurrentRowIdx()) : nullptr;
	if (pSel->m_pDBTConti->GetSize() > 0 && !pSel->m_CentroCommessa.IsEmpty() && pCdc &&
		pCdc->f_PercRipartizione > DataPerc::GetStaticEpsilon())
	{
		AfxMessageBox(Testo(_T("ATTENZIONE: L'inserimento non aggiorna i livelli superiori in quanto è stata "
							   "impostata\nla suddivisione a percentuale. Viene generata una squadratura dei dati ")));
		return TRUE;
	}
	return SalvaContoPadre(padre);
}

void Kvz_CAssestamentoDoc::ConcludiSalvataggio()
{
	SvuotaArrayDettagli();
	SvuotaArrayRipartizioni();
	m_Modificato = FALSE;
	MemorizzaValoriIniziali();
	for (int i = 0; i < m_pDBTRighe->GetSize(); ++i)
		m_pDBTRighe->GetRiga(i)->l_OldProgImportoRateo = m_pDBTRighe->GetRiga(i)->l_ProgImportoRateo;
	// Only the propagated rows may differ from what was read: the header's options are the form's.
	Kvz_TEnhPianoBaseTesta* pTesta = m_pTRPianoBaseTesta->GetRecord();
	pTesta->f_TipoBudget = m_TipoBudget;
	pTesta->f_AssestPerTotale = m_bPerTotale;
	pTesta->f_AssestPerTotalePerc = m_bPerTotalePerc;
}

BOOL Kvz_CAssestamentoDoc::SalvaContoPadre(const DataStr& aConto)
{
	// Up to the top, also past levels without a plan.
	for (DataStr conto = aConto; !conto.IsEmpty(); conto = CalcolaContoPadre(conto, m_Parametri))
		if (!AggiornaPiano(IDPianoConto(conto), FALSE, FALSE,
						   [](const Kvz_TEnhPianoBaseRighe& g) { return g.f_ImportoRateo - g.l_OldImportoRateo; }))
			return FALSE;
	return TRUE;
}

BOOL Kvz_CAssestamentoDoc::SalvaContoPadrePatrimoniale(const DataStr& aConto, const DataBool& bInverti)
{
	const double segno = bInverti ? -1.0 : 1.0;
	for (DataStr conto = aConto; !conto.IsEmpty(); conto = CalcolaContoPadre(conto, m_Parametri))
	{
		// A flow change is carried into every later month of a balance sheet.
		double vecchio = 0, nuovo = 0;
		if (!AggiornaPiano(IDPianoConto(conto), FALSE, FALSE, [&](const Kvz_TEnhPianoBaseRighe& g) {
				vecchio += g.l_OldImportoRateo * segno;
				nuovo += g.f_ImportoRateo * segno;
				return nuovo - vecchio;
			}))
			return FALSE;
	}
	return TRUE;
}

BOOL Kvz_CAssestamentoDoc::SalvaContoKvzLegato()
{
	Kvz_TRAnagContiKvz conti(this);
	conti.SetSqlSession(GetUpdatableSqlSession());
	if (conti.FindRecord(m_Anno, GetTesta()->f_ContoKvz) != TableReader::FOUND)
		return TRUE;
	const Kvz_TAnagContiKvz conto = *conti.GetRecord();
	if (conto.f_TipoConto == DataEnum(E_TIPOCONTO, 1) || conto.f_ContoCollegato.IsEmpty())
		return TRUE;
	// The accounts the link selects, as the rebuild reads them: the codes that start with it.
	std::vector<std::string> codici;
	{
		Kvz_TAnagContiKvz rec;
		SqlTable t(&rec, GetUpdatableSqlSession(), this);
		t.Open(FALSE);
		t.Select(rec.f_ContoKvz);
		t.AddParam("p1", rec.f_Esercizio);
		t.AddFilterColumn(rec.f_Esercizio);
		t.AddParam("p3", rec.f_ContoKvz);
		t.AddFilterLike(rec.f_ContoKvz);
		t.AddSortColumn(rec.f_ContoKvz);
		t.SetParamValue("p1", m_Anno);
		t.SetParamLike("p3", conto.f_ContoCollegato);
		for (t.Query(); !t.IsEOF(); t.MoveNext())
			codici.push_back(rec.f_ContoKvz.GetString().str());
		t.Close();
	}
	const std::set<std::string> insieme(codici.begin(), codici.end());
	// The nearest account of the year above each: an account is a leaf when it is nobody's.
	std::set<std::string> padri;
	for (const std::string& c : codici)
		for (DataStr p = CalcolaContoPadre(DataStr(c.c_str()), m_Parametri); !p.IsEmpty(); p = CalcolaContoPadre(p, m_Parametri))
			if (insieme.count(p.GetString().str()))
			{
				padri.insert(p.GetString().str());
				break;
			}
	// Each branch the link selects gets the change once, at its first lowest-level account, and
	// the levels above from there: what the rebuild writes.
	for (size_t i = 0; i < codici.size(); ++i)
	{
		const std::string& codice = codici[i];
		auto sotto = [&](const std::string& c, const std::string& sopra) {
			for (DataStr p = CalcolaContoPadre(DataStr(c.c_str()), m_Parametri); !p.IsEmpty();
				 p = CalcolaContoPadre(p, m_Parametri))
				if (p.GetString().str() == sopra)
					return true;
			return false;
		};
		bool bSotto = false;
		for (const std::string& altro : codici)
			bSotto = bSotto || (altro != codice && sotto(codice, altro));
		if (bSotto)
			continue;
		std::string foglia;
		for (size_t k = i; k < codici.size() && foglia.empty(); ++k)
		{
			if (codici[k].compare(0, codice.size(), codice) != 0)
				break;
			if (!padri.count(codici[k]) && (k == i || sotto(codici[k], codice)))
				foglia = codici[k];
		}
		if (foglia.empty())
			continue;
		if (foglia != codice)
			AfxMessageBox(CString::Formatted(Testo(_T("Il conto %s collegato al conto economico %s non è di ultimo "
													 "livello: il suo assestamento è riportato nel conto %s e da lì "
													 "nei livelli superiori.")),
											 codice.c_str(), conto.f_ContoKvz.GetString().GetString(), foglia.c_str()),
						  MB_OK | MB_ICONWARNING);
		const DataStr collegato(foglia.c_str());
		if (!SalvaContoLegato(collegato, conto) ||
			!SalvaContoPadrePatrimoniale(CalcolaContoPadre(collegato, m_Parametri), conto.f_InversioneSegno))
			return FALSE;
	}
	return TRUE;
}

BOOL Kvz_CAssestamentoDoc::SalvaContoLegato(const DataStr& aConto, const Kvz_TAnagContiKvz& aContoOrigine)
{
	const double segno = aContoOrigine.f_InversioneSegno ? -1.0 : 1.0;
	return AggiornaPiano(IDPianoConto(aConto), TRUE, FALSE, [segno](const Kvz_TEnhPianoBaseRighe& g) {
		return (g.l_ProgImportoRateo - g.l_OldProgImportoRateo) * segno;
	});
}

BOOL Kvz_CAssestamentoDoc::SalvaContoDelCentro(const DataStr& aConto)
{
	return AggiornaPiano(IDPianoConto(aConto), TRUE, FALSE,
						 [](const Kvz_TEnhPianoBaseRighe& g) { return g.f_ImportoRateo - g.l_OldImportoRateo; });
}

BOOL Kvz_CAssestamentoDoc::SalvaCentriCommesse()
{
	Kvz_TCentriCommesseContiKvz rec;
	SqlTable table(&rec, GetUpdatableSqlSession(), this);
	table.Open(FALSE, FALSE, TRUE);
	table.SelectAll();
	table.AddParam(_T("p1"), rec.f_Esercizio);
	table.AddFilterColumn(rec.f_Esercizio);
	table.AddParam(_T("p2"), rec.f_ContoKvz);
	table.AddFilterColumn(rec.f_ContoKvz);
	table.AddSortColumn(rec.f_CentroCommessa);
	table.AddSortColumn(rec.f_Tipo);
	table.SetParamValue(_T("p1"), m_Anno);
	table.SetParamValue(_T("p2"), GetTesta()->f_ContoKvz);
	std::vector<std::unique_ptr<Kvz_TCentriCommesseContiKvz>> centri;
	for (table.Query(); !table.IsEOF(); table.MoveNext())
		if (std::fabs(rec.f_PercRipartizione) > DataPerc::GetStaticEpsilon())
		{
			centri.push_back(std::make_unique<Kvz_TCentriCommesseContiKvz>());
			*centri.back() = rec;
		}
	table.Close();
	for (const auto& pCdc : centri)
	{
		const double perc = pCdc->f_PercRipartizione;
		// The centre's share replaces its adjustment.
		if (!AggiornaPiano(IDPianoBase(GetUpdatableSqlSession(), this, m_Anno, GetTesta()->f_ContoKvz, pCdc->f_Tipo,
									   pCdc->f_CentroCommessa),
						   FALSE, TRUE, [perc](const Kvz_TEnhPianoBaseRighe& g) {
							   return FormatHelpers::RoundDecimals(g.f_ImportoRateo * perc / 100.0, 2);
						   }))
			return FALSE;
	}
	return TRUE;
}
