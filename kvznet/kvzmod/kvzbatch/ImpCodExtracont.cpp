#include "kvznet/kvzmod/kvzbatch/ImpCodExtracont.h"

#include "kvznet/kvzmod/kvzbatch/ConfermaTransazione.h"
#include "kvznet/kvzmod/kvzbatch/RigaCodExtracont.h"
#include "kvznet/kvzmod/kvzdbl/KvzNetSettings.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodExtracontabili.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodExtracontabiliTesta.h"
#include "platform/plvgeneric/FileDialog.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvgeneric/LineFile.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvoledb/SqlException.h"
#include "platform/plvoledb/SqlTable.h"


namespace {
const char* const kSource = "ImpCodExtracont";

enum : UINT
{
	IDC_IMP_COD_FILENAME = 31807,
	IDC_IMP_COD_SFOGLIA,
	IDC_IMP_COD_STATO_ELAB,
	IDC_IMP_COD_CAPTION,
};

// Progress is told every so many lines: one text per line would cost more than the line.
constexpr long kOgniRighe = 500;

}  // namespace

BEGIN_MESSAGE_MAP(Kvz_CImpCodExtracontDoc, CAbstractFormDoc)
	ON_BN_CLICKED(IDC_IMP_COD_SFOGLIA, OnSfoglia)
END_MESSAGE_MAP()

Kvz_CImpCodExtracontDoc::Kvz_CImpCodExtracontDoc() : m_FileCodici(CKvzNetSettings().GetImpCodExtracontDocFileCodici()), m_Contatore(0)
{
}

Kvz_CImpCodExtracontDoc::~Kvz_CImpCodExtracontDoc()
{
	CKvzNetSettings().SetImpCodExtracontDocFileCodici(m_FileCodici, TRUE);
}

BOOL Kvz_CImpCodExtracontDoc::OnAttachData()
{
	SetFormTitle(_T("Importazione codici extracontabili"));
	return TRUE;
}

void Kvz_CImpCodExtracontDoc::OnSfoglia()
{
	CPLVFileDialog dlg(TRUE, _T("txt"), m_FileCodici.GetString().GetString(), OFN_HIDEREADONLY | OFN_PATHMUSTEXIST,
					   _T("Files (*.txt)|*.txt|  Tutti i Files (*.*)|*.*|"));
	if (dlg.DoModal() != IDOK)
		return;
	// As chosen: the file system tells upper from lower case.
	m_FileCodici = dlg.GetPathName();
	UpdateDataView();
}

void Kvz_CImpCodExtracontDoc::OnBatchExecute()
{
	// Checked before the transaction opens, so that a refusal leaves none behind.
	if (m_FileCodici.IsEmpty())
	{
		AfxMessageBox(_T("Indicare il file da importare."));
		SetCtrlFocus(IDC_IMP_COD_FILENAME);
		m_bBatchNotStarted = true;
		return;
	}
	CLineFile file;
	CFileException err;
	if (!file.Open(m_FileCodici.GetString(), CLineFile::modeRead | CLineFile::typeText, &err, 0))
	{
		AfxMessageBox(CString::Formatted("Errore apertura file %s: %s.", m_FileCodici.GetString().GetString(),
										 err.PCause().GetString()));
		SetCtrlFocus(IDC_IMP_COD_FILENAME);
		m_bBatchNotStarted = true;
		return;
	}
	if (!StartBatchTransaction())
		return;

	BeginWaitCursor();
	ImportaCodici(file);
	file.Close();
	// Committed before the outcome is told: a commit that fails keeps nothing, and says so.
	if (Kvz_ConfermaTransazione(GetContext()))
	{
		m_StatoElab = GetScheduler()->IsAborted() ? CString(_T("Elaborazione interrotta su richiesta utente."))
												  : CString(_T("Importazione terminata."));
		GetMessages()->Add(CString::Formatted("Righe lette: %ld, importate: %ld, scartate: %ld.", long(m_Contatore),
											  m_nImportate, m_nScartate),
						   m_nScartate ? CMessages::MSG_WARNING : CMessages::MSG_INFO);
	}
	else
	{
		m_StatoElab = _T("Importazione non registrata.");
		GetMessages()->Add(CString::Formatted("Importazione non registrata: nessuna delle %ld righe lette è stata "
											  "importata.",
											  long(m_Contatore)),
						   CMessages::MSG_ERROR);
		m_nImportate = 0;
		m_bBatchNotStarted = true;
	}
	SetProgressText(m_StatoElab.GetString());
	EndWaitCursor();
	UpdateDataView();
	GetMessages()->Show();
}

void Kvz_CImpCodExtracontDoc::ImportaCodici(CLineFile& file)
{
	m_Contatore = 0;
	m_nImportate = 0;
	m_nScartate = 0;
	Kvz_TCodExtracontabiliTesta testa;
	SqlTable teste(&testa, GetUpdatableSqlSession(), this);
	Kvz_TCodExtracontabili mese;
	SqlTable mesi(&mese, GetUpdatableSqlSession(), this);
	try
	{
		teste.Open(TRUE);
		teste.SelectAll();
		teste.AddParam("p1", testa.f_Esercizio);
		teste.AddFilterColumn(testa.f_Esercizio);
		teste.AddParam("p2", testa.f_CodExtracont);
		teste.AddFilterColumn(testa.f_CodExtracont);
		mesi.Open(TRUE);
		mesi.SelectAll();
		mesi.AddParam("p1", mese.f_Esercizio);
		mesi.AddFilterColumn(mese.f_Esercizio);
		mesi.AddParam("p2", mese.f_CodExtracont);
		mesi.AddFilterColumn(mese.f_CodExtracont);
		mesi.AddParam("p3", mese.f_Mese);
		mesi.AddFilterColumn(mese.f_Mese);
	}
	catch (const SqlException& e)
	{
		ASSERT_RELEASE_TRACE(e.IsKindOf(RUNTIME_CLASS(SqlException)), "ImportaCodici", kSource);
		e.ShowError();
		return;
	}

	// The head of a code is looked up once per run of lines of the same year and code.
	int nEsercizioPrec = 0;
	CString strCodicePrec;
	CString line;
	for (;;)
	{
		try
		{
			if (!file.ReadString(line, kvzbatch::kMaxCaratteriRiga))
				break;
		}
		catch (const CFileException& e)
		{
			ASSERT_RELEASE_TRACE(e.IsKindOf((CFileException::GetThisClass())), "ImportaCodici", kSource);
			GetMessages()->Add(CString::Formatted("Errore lettura file %s: %s.", m_FileCodici.GetString().GetString(),
												  e.PCause().GetString()));
			break;
		}
		if (GetScheduler()->IsAborted())
			break;
		const long nRiga = long(m_Contatore) + 1;
		m_Contatore = nRiga;
		if (nRiga == 1 || nRiga % kOgniRighe == 0)
		{
			m_StatoElab = CString::Formatted("Importazione in corso ... (elaborati: %ld)", nRiga);
			SetProgressText(m_StatoElab.GetString());
			UpdateDataView();
		}

		if (kvzbatch::RigaVuota(line))
			continue;
		kvzbatch::RigaCodExtracont riga;
		if (const CString perche = kvzbatch::LeggiRigaCodExtracont(line, riga); !perche.IsEmpty())
		{
			++m_nScartate;
			GetMessages()->Add(CString::Formatted("Riga %ld scartata: %s.", nRiga, perche.GetString()),
							   CMessages::MSG_WARNING);
			continue;
		}
		try
		{
			const DataInt aEsercizio(riga.esercizio);
			const DataStr aCodice(riga.codice);
			if (riga.esercizio != nEsercizioPrec || riga.codice != strCodicePrec)
			{
				teste.SetParamValue("p1", aEsercizio);
				teste.SetParamValue("p2", aCodice);
				teste.Query();
				if (teste.IsEOF())
				{
					teste.AddNew();
					testa.f_Esercizio = aEsercizio;
					testa.f_CodExtracont = aCodice;
				}
				else
					teste.Edit();
				// A description given in the register is never replaced.
				if (testa.f_Descrizione.IsEmpty())
					testa.f_Descrizione = riga.descrizione;
				teste.Update();
				nEsercizioPrec = riga.esercizio;
				strCodicePrec = riga.codice;
			}
			const DataInt aMese(riga.mese);
			mesi.SetParamValue("p1", aEsercizio);
			mesi.SetParamValue("p2", aCodice);
			mesi.SetParamValue("p3", aMese);
			mesi.Query();
			if (mesi.IsEOF())
			{
				mesi.AddNew();
				mese.f_Esercizio = aEsercizio;
				mese.f_CodExtracont = aCodice;
				mese.f_Mese = aMese;
			}
			else
				mesi.Edit();
			// Also an empty text: it clears the slot.
			*mese.GetFormula(riga.colonna) = riga.formula;
			mesi.Update();
			++m_nImportate;
		}
		catch (const SqlException& e)
		{
			ASSERT_RELEASE_TRACE(e.IsKindOf(RUNTIME_CLASS(SqlException)), "ImportaCodici", kSource);
			e.ShowError();
			++m_nScartate;
			GetMessages()->Add(CString::Formatted("Riga %ld non importata.", nRiga));
			// The head may not have been written: the next line of this code looks again.
			strCodicePrec.Empty();
		}
	}
	teste.Close();
	mesi.Close();
}

void Kvz_CImpCodExtracontView::BuildDataControlLinks()
{
	auto* pDoc = static_cast<Kvz_CImpCodExtracontDoc*>(GetDocument());
	AddStaticText(IDC_IMP_COD_CAPTION, _T("IMPORTAZIONE CODICI EXTRACONTABILI"));
	AddLink(IDC_IMP_COD_FILENAME, _T("Nome del file da importare:"), RUNTIME_CLASS(CStrEdit), &pDoc->m_FileCodici);
	AddButton(IDC_IMP_COD_SFOGLIA, _T("&Sfoglia"));
	AddLink(IDC_IMP_COD_STATO_ELAB, _T("Stato elaborazione"), RUNTIME_CLASS(CStrStatic), &pDoc->m_StatoElab);
}
