#include "kvznet/kvzmod/kvzbatch/ImpCodExtracont.h"

#include <algorithm>
#include <memory>

#include "kvznet/kvzmod/kvzbatch/ConfermaTransazione.h"
#include "kvznet/kvzmod/kvzbatch/RigaCodExtracont.h"
#include "kvznet/kvzmod/kvzdbl/KvzNetSettings.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagMacro.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagSimboli.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodExtracontabili.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodExtracontabiliTesta.h"
#include "platform/plvgeneric/FileDialog.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvgeneric/LineFile.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvoledb/SqlException.h"
#include "platform/plvoledb/SqlTable.h"
#include "platform/plvparser/Expression.h"


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

// The lines of the file as the import reads them, for the progress's "n di N"; 0 when it cannot
// be read again (the import then says why).
long RigheDelFile(const CString& strFile)
{
	CLineFile file;
	if (!file.Open(strFile, CLineFile::modeRead | CLineFile::typeText, nullptr, 0))
		return 0;
	long n = 0;
	CString line;
	try
	{
		while (file.ReadString(line, kvzbatch::kMaxCaratteriRiga))
			++n;
	}
	catch (const CFileException&)
	{
		// the lines read so far
	}
	file.Close();
	return n;
}

CString TestoAvanzamento(long nRiga, long nRighe)
{
	return CString::Formatted("Importazione in corso ... (elaborati: %ld di %ld)", nRiga, std::max(nRiga, nRighe));
}

// The names a code's formulas may use: the symbols and macros of its year and code, as the
// register of the codes reads them when a formula is typed. Read again when the code changes.
class NomiDelCodice
{
public:
	explicit NomiDelCodice(CAbstractFormDoc* pDoc) : m_pDoc(pDoc) {}

	// Why the formula is wrong, as the register says it; empty when it parses.
	CString Errore(int nEsercizio, const CString& strCodice, const CString& strFormula)
	{
		if (!m_pNomi || nEsercizio != m_nEsercizio || strCodice != m_strCodice)
			Leggi(nEsercizio, strCodice);
		CString testo = strFormula;
		testo.Replace(',', '.');
		Parser parser(testo, nullptr, -1, 0);
		Expression expr(m_pNomi.get());
		return expr.Parse(parser, DataType::Double, 0) ? CString() : expr.GetErrorMessage();
	}

private:
	void Leggi(int nEsercizio, const CString& strCodice)
	{
		m_pNomi = std::make_unique<SymTable>();
		m_nEsercizio = nEsercizio;
		m_strCodice = strCodice;
		const DataInt aEsercizio(nEsercizio);
		const DataStr aCodice(strCodice);
		auto leggi = [&](SqlRecord& rec, DataInt& esercizio, DataStr& modello, DataStr& nome, const char* prefisso) {
			SqlTable table(&rec, m_pDoc->GetReadOnlySqlSession(), m_pDoc);
			table.Open(FALSE, FALSE, TRUE);
			table.SelectAll();
			table.AddParam("p1", esercizio);
			table.AddFilterColumn(esercizio);
			table.AddParam("p2", modello);
			table.AddFilterColumn(modello);
			table.SetParamValue("p1", aEsercizio);
			table.SetParamValue("p2", aCodice);
			for (table.Query(); !table.IsEOF(); table.MoveNext())
				m_pNomi->Add(prefisso + nome.GetString(), DataType::Double);
			table.Close();
		};
		Kvz_TAnagSimboli simboli;
		Kvz_TAnagMacro macro;
		leggi(simboli, simboli.f_Esercizio, simboli.f_ModelloRiclassific, simboli.f_NomeSimbolo, "_");
		leggi(macro, macro.f_Esercizio, macro.f_ModelloRiclassific, macro.f_NomeMacro, "__");
	}

	CAbstractFormDoc* m_pDoc;
	std::unique_ptr<SymTable> m_pNomi;
	int m_nEsercizio = 0;
	CString m_strCodice;
};

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
		if (GetScheduler()->IsAborted())
			m_StatoElab = _T("Elaborazione interrotta su richiesta utente.");
		else if (m_nScartate)
			m_StatoElab = CString::Formatted("Importazione terminata con errori: %ld %s, %ld %s.", m_nImportate,
											 m_nImportate == 1 ? "riga importata" : "righe importate", m_nScartate,
											 m_nScartate == 1 ? "scartata" : "scartate");
		else
			m_StatoElab = _T("Importazione terminata.");
		GetMessages()->Add(CString::Formatted("Righe lette: %ld, importate: %ld, scartate: %ld.", long(m_Contatore),
											  m_nImportate, m_nScartate),
						   m_nScartate ? CMessages::MSG_WARNING : CMessages::MSG_INFO);
		// What was imported stays; a refused line is still no success.
		if (m_nScartate)
			m_bBatchNotStarted = true;
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

	const long nRighe = RigheDelFile(m_FileCodici.GetString());
	NomiDelCodice nomi(this);
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
			m_StatoElab = TestoAvanzamento(nRiga, nRighe);
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
			// Imported as the register saves it, with the register's warning.
			if (!riga.formula.IsEmpty())
				if (const CString errore = nomi.Errore(riga.esercizio, riga.codice, riga.formula); !errore.IsEmpty())
					GetMessages()->Add(CString::Formatted("Riga %ld: errore nella formula %s: %s.", nRiga,
														  riga.formula.GetString(), errore.GetString()),
									   CMessages::MSG_WARNING);
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
	// The count told last is that of the whole file.
	if (m_Contatore != 0 && long(m_Contatore) != 1 && long(m_Contatore) % kOgniRighe != 0)
	{
		m_StatoElab = TestoAvanzamento(long(m_Contatore), nRighe);
		SetProgressText(m_StatoElab.GetString());
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
