#include "kvznet/kvzmod/kvzdocuments/formule/MngFormula.h"
#include "kvznet/kvzmod/kvzdocuments/formule/MngFormulaErrori.h"
#include "kvznet/kvzmod/kvzdocuments/formule/MngFormulaCursore.h"
#include "kvznet/kvzmod/kvzdocuments/formule/MngFormulaComune.h"
#include "kvznet/kvzmod/kvzdocuments/formule/Kvz_NomiValidazione.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <map>
#include <string_view>

#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagSimboli.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TAziende.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodExtracontabili.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodExtracontabiliTesta.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodiciRiclassificato.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneTesta.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliCodiciExtracont.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliCodiciRiclass.h"
#include "platform/plvges/CAbstractFormDoc.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvgeneric/StackSpace.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvoledb/SqlTable.h"
#include "platform/plvparser/Expression.h"

using namespace kvz_formula;

namespace {
const char* const kSource = "MngFormula";
// The message type of the engine's messages in the caller's list.
const int kTipoMessaggio = 2;

bool IsOperatore(char ch)
{
	return ch == '+' || ch == '-' || ch == '*' || ch == '/';
}
}  // namespace

Kvz_NomeInFormula Kvz_LeggiNomeInFormula(const std::string& text, int pos)
{
	Kvz_NomeInFormula r;
	int start = pos + 1;
	if (start < static_cast<int>(text.size()) && text[static_cast<size_t>(start)] == '_')
	{
		r.bMacro = true;
		++start;
	}
	r.fine = Parser::NameEnd(text, start);
	r.nome = CString(std::string_view(text).substr(static_cast<size_t>(start), static_cast<size_t>(r.fine - start)));
	return r;
}

CString Kvz_TestoAutoriferimento(const Kvz_NomeInFormula& letto)
{
	return CString::Formatted(
		AfxLoadSourceString(letto.bMacro ? "%s: la macro contiene se stessa tra gli operandi. Verificare la sua definizione "
										   "e/o i simboli contenuti che possono risolversi in formule."
										 : "%s: il simbolo contiene se stesso tra gli operandi. Verificare la sua "
										   "definizione e/o i simboli contenuti che possono risolversi in formule.",
							kSource),
		letto.nome.GetString());
}

void MostraErroreSql(const std::exception& e, const char* method, const char* file)
{
	const auto* pSql = dynamic_cast<const SqlException*>(&e);
	if (!pSql)
		ASSERT_RELEASE_FAILED("e->IsKindOf((SqlException::GetThisClass()))", method, file);
	(pSql ? *pSql : SqlException(e.what())).ShowError(_T(""));
}

std::vector<DataStr> Kvz_CodiciTra(SqlRecord& rec, DataObj& colEsercizio, DataObj* pColModello, DataStr& colCodice,
								   const DataInt& esercizio, const DataStr& modello, const DataStr& da, const DataStr& a)
{
	SqlTable table(&rec, AfxGetDefaultSqlSession());
	table.Open(FALSE, FALSE, TRUE);
	table.SelectAll();
	table.AddParam("p18", colEsercizio);
	table.AddFilterColumn(colEsercizio);
	if (pColModello)
	{
		table.AddParam("p23", *pColModello);
		table.AddFilterColumn(*pColModello);
	}
	table.AddParam("p20", colCodice);
	table.AddParam("p21", colCodice);
	table.AddBetweenColumn(colCodice);
	table.AddSortColumn(colCodice);
	table.SetParamValue("p18", esercizio);
	if (pColModello)
		table.SetParamValue("p23", modello);
	table.SetParamValue("p20", da);
	table.SetParamValue("p21", a);
	std::vector<DataStr> codici;
	for (table.Query(); !table.IsEOF(); table.MoveNext())
		codici.push_back(colCodice);
	table.Close();
	return codici;
}

// ---- Kvz_New_AlberoMacro -------------------------------------------------------------------

Kvz_New_AlberoMacroRamo* Kvz_New_AlberoMacro::GetRamo(int i) const
{
	return static_cast<Kvz_New_AlberoMacroRamo*>(GetAt(i));
}

// ---- Kvz_New_MngFormula --------------------------------------------------------------------

Kvz_New_MngFormula::Kvz_New_MngFormula(CMessages* pMessages, CStringArray* pNomi, Kvz_New_Simbolo* pParent,
									   CAbstractFormDoc* pDoc)
	: m_pDoc(pDoc), m_pParentSimbolo(pParent), m_pMessages(pMessages), m_pNomi(pNomi)
{
	InitSession();
}

Kvz_New_MngFormula::Kvz_New_MngFormula(const CString& strFormula, CMessages* pMessages, CStringArray* pNomi,
									   Kvz_New_Simbolo* pParent, CAbstractFormDoc* pDoc)
	: Kvz_New_MngFormula(pMessages, pNomi, pParent, pDoc)
{
	m_Formula = strFormula;
}


SqlSession* Kvz_New_MngFormula::Sessione() const
{
	SqlSession* pSession = m_pDoc ? m_pDoc->GetReadOnlySqlSession() : nullptr;
	return pSession ? pSession : AfxGetDefaultSqlSession();
}

void Kvz_New_MngFormula::InitSession()
{
	SqlSession* pSession = Sessione();
	m_TRAnagMacro.SetSqlSession(pSession);
	m_TRAnagSimboli.SetSqlSession(pSession);
	m_TRSimboliRiclass.SetSqlSession(pSession);
	m_TRSimboliExtra.SetSqlSession(pSession);
	m_TRRighe.SetSqlSession(pSession);
	m_TRCodExtra.SetSqlSession(pSession);
	m_TRSimboliPB.SetSqlSession(pSession);
	m_TRSimboliOutput.SetSqlSession(pSession);
	m_TRRisultati.SetSqlSession(pSession);
}

void Kvz_New_MngFormula::AttachDefault(const DataInt& aEsercizio, const DataInt& aMeseIniziale,
									   const DataInt& aMeseFinale, const DataStr& aModello, const DataEnum& aModo,
									   const DataEnum& aModoUlteriore)
{
	m_Esercizio = aEsercizio;
	m_MeseIniziale = aMeseIniziale;
	m_MeseFinale = aMeseFinale;
	m_Modello = aModello;
	m_Modo = aModo;
	m_ModoUlteriore = aModoUlteriore;
	m_bDefaultAttached = TRUE;
}

void Kvz_New_MngFormula::AttachFormula(const CString& strFormula)
{
	m_Formula = strFormula;
	m_bFormulaBudget = FALSE;
}

void Kvz_New_MngFormula::AttachFormulaBudget(const CString& strFormula, const DataEnum& aTipoBudget)
{
	m_Formula = strFormula;
	m_bFormulaBudget = TRUE;
	m_TipoBudget = aTipoBudget;
}

void Kvz_New_MngFormula::Messaggio(const CString& strTesto)
{
	if (m_pMessages)
		m_pMessages->Add(strTesto, kTipoMessaggio);
	else
		AfxMessageBox(strTesto);
}

// ---- Parse ---------------------------------------------------------------------------------

namespace {
struct Sospesi
{
	int esercizio = 0;
	CString modello;
	std::set<CString> nomi;
};
std::map<const void*, Sospesi>& NomiInSospeso()
{
	static std::map<const void*, Sospesi> sospesi;
	return sospesi;
}
}  // namespace

void Kvz_New_MngFormula::SetNomiInSospeso(const void* pForm, const DataInt& aEsercizio, const DataStr& aModello,
										  std::set<CString> nomi)
{
	if (nomi.empty())
		NomiInSospeso().erase(pForm);
	else
		NomiInSospeso()[pForm] = Sospesi{aEsercizio.GetValue(), aModello.GetString(), std::move(nomi)};
}

BOOL Kvz_New_MngFormula::Parse(const CString& strOwner)
{
	m_ErroreSintassi.Empty();
	if (m_Formula.IsEmpty())
		return TRUE;
	m_Formula.Replace(',', '.');
	ASSERT_RELEASE_TRACE(!m_Modello.IsEmpty(), "Kvz_New_MngFormula::Parse", kSource);
	ASSERT_RELEASE_TRACE(!m_Esercizio.IsEmpty(), "Kvz_New_MngFormula::Parse", kSource);

	if (!m_bMantieniNomi || !m_pSymTable || m_EsercizioNomi.GetValue() != m_Esercizio.GetValue() ||
		m_ModelloNomi.GetString().CompareNoCase(m_Modello.GetString()) != 0)
	{
		m_pSymTable = std::make_unique<ErpSymTable>();
		AttachAllSymbols();
		m_EsercizioNomi = m_Esercizio;
		m_ModelloNomi = m_Modello;
	}
	for (const auto& [pForm, sospesi] : NomiInSospeso())
		if (sospesi.esercizio == m_Esercizio.GetValue() && sospesi.modello.CompareNoCase(m_Modello.GetString()) == 0)
			for (const CString& nome : sospesi.nomi)
				if (!m_pSymTable->GetField("_" + nome))
					m_pSymTable->Add("_" + nome, DataType::Double);

	Parser parser(m_Formula, nullptr, -1, 0);
	Expression expr(m_pSymTable.get());
	if (!expr.Parse(parser, DataType::Double, 0))
	{
		// No message of the engine's own: the caller reports the wrong formula, with this.
		m_ErroreSintassi = expr.GetErrorMessage();
		return FALSE;
	}

	SvuotaAlberoMacro();
	Kvz_New_AlberoMacro* pAlbero = &m_AlberoMacro;
	if (!EstraiSimboli(strOwner, m_Formula, pAlbero, nullptr))
		return FALSE;
	m_nRami = m_AlberoMacro.GetSize();
	return EsplodiAlbero(&m_AlberoMacro);
}

void Kvz_New_MngFormula::MantieniNomi(BOOL b)
{
	m_bMantieniNomi = b;
	if (!b)
		m_pSymTable.reset();
}

void kvz_formula::LeggiNomi(ErpSymTable& symTable, const DataInt& aEsercizio, const DataStr& aModello, const char* method)
{
	Kvz_TAnagSimboli simboli;
	Kvz_TAnagMacro macro;
	// Every row of the year and model adds prefix + name.
	auto leggi = [&](SqlRecord& rec, DataInt& esercizio, DataStr& modello, DataStr& nome, const char* prefisso) {
		SqlTable table(&rec, AfxGetDefaultSqlSession());
		table.Open(FALSE, FALSE, TRUE);
		table.SelectAll();
		table.AddParam("p25", esercizio);
		table.AddFilterColumn(esercizio);
		table.AddParam("p23", modello);
		table.AddFilterColumn(modello);
		table.AddSortColumn(nome);
		table.SetParamValue("p25", aEsercizio);
		table.SetParamValue("p23", aModello);
		for (table.Query(); !table.IsEOF(); table.MoveNext())
			symTable.Add(prefisso + nome.GetString(), DataType::Double);
		table.Close();
	};
	try
	{
		leggi(simboli, simboli.f_Esercizio, simboli.f_ModelloRiclassific, simboli.f_NomeSimbolo, "_");
		leggi(macro, macro.f_Esercizio, macro.f_ModelloRiclassific, macro.f_NomeMacro, "__");
	}
	catch (const std::exception& e)
	{
		// The names read so far stay; the others count as unknown.
		MostraErroreSql(e, method);
	}
}

BOOL kvz_formula::VerificaRicorsivita(Kvz_New_AlberoMacro* pAlbero, const FunzioneMessaggio& messaggio)
{
	for (int i = 0; i < pAlbero->GetSize(); ++i)
	{
		Kvz_New_AlberoMacroRamo* pRamo = pAlbero->GetRamo(i);
		for (Kvz_New_AlberoMacroRamo* p = pRamo->m_pPadre; p; p = p->m_pPadre)
			if (p->m_Nome == pRamo->m_Nome)
			{
				messaggio(CString::Formatted(
					AfxLoadSourceString("Ricorsivita' trovata sulla macro %s appartenente alla macro %s.", kSource),
					pRamo->m_Nome.GetString(), pRamo->m_pPadre->m_Nome.GetString()));
				return FALSE;
			}
	}
	return TRUE;
}

bool kvz_formula::CercaAnagrafica(Kvz_TRAnagSimboli& reader, const DataInt& aEsercizio, const DataStr& aModello,
								  const CString& strNome, Kvz_TAnagSimboli& riga)
{
	if (reader.FindRecord(aEsercizio, DataStr(strNome), aModello) != TableReader::FOUND ||
		reader.GetRecord()->f_NomeSimbolo.GetString() != strNome)
		return false;
	riga = *reader.GetRecord();
	return true;
}

CString kvz_formula::TestoSimboloMancante(const CString& strNome, const DataInt& aEsercizio, const DataStr& aModello)
{
	return CString::Formatted(
		AfxLoadSourceString("Il simbolo %s non esiste nell'esercizio %d per il modello %s.", kSource), strNome.GetString(),
		aEsercizio.GetValue(), aModello.GetString().GetString());
}

BOOL kvz_formula::LeggiMacro(Kvz_TRAnagMacro& reader, const DataInt& aEsercizio, const DataStr& aModello,
							 const CString& strNome, CString& strFormula, const FunzioneMessaggio& messaggio)
{
	if (reader.FindRecord(aEsercizio, DataStr(strNome), aModello) == TableReader::FOUND &&
		reader.GetRecord()->f_NomeMacro.GetString() == strNome)
	{
		strFormula = reader.GetRecord()->f_Formula.GetString();
		return TRUE;
	}
	messaggio(TestoMacroMancante(strNome, aEsercizio, aModello));
	return FALSE;
}

CString kvz_formula::TestoMacroMancante(const CString& strNome, const DataInt& aEsercizio, const DataStr& aModello)
{
	return CString::Formatted(
		AfxLoadSourceString("La macro %s non esiste nell'esercizio %d per il modello %s.", kSource), strNome.GetString(),
		aEsercizio.GetValue(), aModello.GetString().GetString());
}

void Kvz_New_MngFormula::AttachAllSymbols()
{
	// The names are always the current company's, whatever company the engine is attached to.
	if (Sessione() == AfxGetDefaultSqlSession())
		NomiValidazione().AggiungiNomi(*m_pSymTable, m_Esercizio, m_Modello, "Kvz_New_MngFormula::AttachAllSymbols");
	else
		LeggiNomi(*m_pSymTable, m_Esercizio, m_Modello, "Kvz_New_MngFormula::AttachAllSymbols");
}

Kvz_NomiValidazione& Kvz_New_MngFormula::NomiValidazione()
{
	// One for every engine of the thread (a document's, its formula editor's): what one read
	// serves the others, and what one's save forgets the others read again.
	thread_local Kvz_NomiValidazione nomi;
	return nomi;
}

void Kvz_New_MngFormula::SvuotaNomiValidazione()
{
	NomiValidazione().Svuota();
}

void Kvz_New_MngFormula::SvuotaAlberoMacro()
{
	m_AlberoMacro.RemoveAll();
	m_nRami = 0;
}

BOOL Kvz_New_MngFormula::EstraiSimboli(const CString& strOwner, const CString& strText, Kvz_New_AlberoMacro*& pAlbero,
										Kvz_New_AlberoMacroRamo* pPadre)
{
	return PerOgniNome(strText.str(), [&](const NomeLetto& letto) {
		if (!strOwner.IsEmpty() && letto.nome == strOwner)
		{
			Messaggio(Kvz_TestoAutoriferimento(letto));
			return false;
		}
		if (letto.bMacro)
		{
			if (!pAlbero)
				pAlbero = new Kvz_New_AlberoMacro;
			pAlbero->Add(new Kvz_New_AlberoMacroRamo(letto.nome, pPadre));
		}
		else if (m_pNomi)
			m_pNomi->Add(letto.nome);
		return true;
	});
}

BOOL Kvz_New_MngFormula::EsplodiAlbero(Kvz_New_AlberoMacro* pAlbero)
{
	for (int i = 0; i < pAlbero->GetSize(); ++i)
	{
		Kvz_New_AlberoMacroRamo* pRamo = pAlbero->GetRamo(i);
		CString formula;
		if (!LeggiMacroNota(pRamo->m_Nome, formula))
			return FALSE;
		if (!EstraiSimboli(pRamo->m_Nome, formula, pRamo->m_pFigli, pRamo))
			return FALSE;
		if (!pRamo->m_pFigli)
			continue;
		// Macros used many times over many levels multiply: stop before the tree does.
		m_nRami += pRamo->m_pFigli->GetSize();
		if (m_nRami > MaxRamiMacro)
		{
			Messaggio(CString::Formatted(
				AfxLoadSourceString("Le macro della formula sono troppe o troppo annidate (oltre %d).", kSource),
				MaxRamiMacro));
			return FALSE;
		}
		if (!VerificaRicorsivita(pRamo->m_pFigli) || !EsplodiAlbero(pRamo->m_pFigli))
			return FALSE;
	}
	return TRUE;
}

BOOL Kvz_New_MngFormula::VerificaRicorsivita(Kvz_New_AlberoMacro* pAlbero)
{
	return kvz_formula::VerificaRicorsivita(pAlbero, [this](const CString& t) { Messaggio(t); });
}

BOOL Kvz_New_MngFormula::LeggiMacro(const CString& strNome, CString& strFormula)
{
	return kvz_formula::LeggiMacro(m_TRAnagMacro, m_Esercizio, m_Modello, strNome, strFormula,
								   [this](const CString& t) { Messaggio(t); });
}

BOOL Kvz_New_MngFormula::LeggiMacroNota(const CString& strNome, CString& strFormula)
{
	if (Sessione() != AfxGetDefaultSqlSession())
		return LeggiMacro(strNome, strFormula);
	switch (NomiValidazione().Macro(m_Esercizio, m_Modello, strNome, strFormula))
	{
	case Kvz_NomiValidazione::TROVATO: return TRUE;
	case Kvz_NomiValidazione::ASSENTE: Messaggio(TestoMacroMancante(strNome, m_Esercizio, m_Modello)); return FALSE;
	default: return LeggiMacro(strNome, strFormula);
	}
}

// ---- Preparing a formula for evaluation ----------------------------------------------------

BOOL Kvz_New_MngFormula::PreprocessForMacro(CString& strText)
{
	std::vector<CString> catena;
	std::map<CString, CString> espanse;
	return EspandiMacro(strText, catena, espanse);
}

// Expands the macros of the text, whose chain of enclosing macros is given: whole names only,
// each macro's text verbatim, a macro met again inside itself reported and refused. A macro
// once expanded holds no cycle, so its expansion is reused for every later reference.
BOOL Kvz_New_MngFormula::EspandiMacro(CString& strText, std::vector<CString>& catena,
									  std::map<CString, CString>& espanse)
{
	const std::string text = strText.str();
	std::string out;
	out.reserve(text.size());
	for (int i = 0; i < static_cast<int>(text.size());)
	{
		const bool bMacro = text[static_cast<size_t>(i)] == '_' && i + 1 < static_cast<int>(text.size()) &&
							text[static_cast<size_t>(i) + 1] == '_';
		if (!bMacro)
		{
			out += text[static_cast<size_t>(i++)];
			continue;
		}
		const Kvz_NomeInFormula letto = Kvz_LeggiNomeInFormula(text, i);
		if (letto.nome.IsEmpty())
		{
			// "__" and no name: left for the syntax check to report.
			out.append(text, static_cast<size_t>(i), static_cast<size_t>(letto.fine - i));
			i = letto.fine;
			continue;
		}
		if (std::find(catena.begin(), catena.end(), letto.nome) != catena.end())
		{
			Messaggio(CString::Formatted(
				AfxLoadSourceString("Ricorsivita' trovata sulla macro %s appartenente alla macro %s.", kSource),
				letto.nome.GetString(), catena.back().GetString()));
			return FALSE;
		}
		if (static_cast<int>(catena.size()) >= MaxLivelliMacro)
		{
			Messaggio(CString::Formatted(
				AfxLoadSourceString("Le macro della formula sono troppe o troppo annidate (oltre %d).", kSource),
				MaxLivelliMacro));
			return FALSE;
		}
		auto it = espanse.find(letto.nome);
		if (it == espanse.end())
		{
			CString formula;
			if (!LeggiMacro(letto.nome, formula))
				return FALSE;
			catena.push_back(letto.nome);
			const BOOL bOk = EspandiMacro(formula, catena, espanse);
			catena.pop_back();
			if (!bOk)
				return FALSE;
			it = espanse.emplace(letto.nome, formula).first;
		}
		out += it->second.str();
		if (out.size() > static_cast<size_t>(MaxLunghezzaEspansa))
		{
			Messaggio(CString::Formatted(
				AfxLoadSourceString("La formula con le macro espanse supera %d caratteri.", kSource), MaxLunghezzaEspansa));
			return FALSE;
		}
		i = letto.fine;
	}
	strText = CString(std::move(out));
	return TRUE;
}

CString Kvz_New_MngFormula::NeutralizzaExtracont(const CString& strText,
												 const std::function<bool(const CString&)>& bExtracont)
{
	const std::string& text = strText.str();
	const int n = static_cast<int>(text.size());
	// The text in pieces: parentheses, operators, extra-accounting names, and the rest as it is.
	enum Tipo { Aperta, Chiusa, Operatore, Extra, Altro };
	struct Pezzo
	{
		Tipo tipo;
		int da, a;  // [da, a) of the text
	};
	std::vector<Pezzo> pezzi;
	bool bToken = false;
	for (int i = 0; i < n;)
	{
		const char ch = text[static_cast<size_t>(i)];
		if (std::isspace(static_cast<unsigned char>(ch)))
		{
			++i;
			continue;
		}
		if (ch == '(' || ch == ')' || IsOperatore(ch))
		{
			pezzi.push_back({ch == '(' ? Aperta : ch == ')' ? Chiusa : Operatore, i, i + 1});
			++i;
			continue;
		}
		const Kvz_NomeInFormula letto = ch == '_' ? Kvz_LeggiNomeInFormula(text, i) : Kvz_NomeInFormula{};
		const int a = std::max(ch == '_' ? letto.fine : Parser::NameEnd(text, i), i + 1);
		const bool bE = ch == '_' && !letto.bMacro && !letto.nome.IsEmpty() && bExtracont(letto.nome);
		bToken = bToken || bE;
		pezzi.push_back({bE ? Extra : Altro, i, a});
		i = a;
	}
	if (!bToken)
		return strText;

	const int np = static_cast<int>(pezzi.size());
	// The closing parenthesis of each opening one (np when it is missing).
	std::vector<int> chiusa(static_cast<size_t>(np), np);
	{
		std::vector<int> aperte;
		for (int k = 0; k < np; ++k)
			if (pezzi[static_cast<size_t>(k)].tipo == Aperta)
				aperte.push_back(k);
			else if (pezzi[static_cast<size_t>(k)].tipo == Chiusa && !aperte.empty())
			{
				chiusa[static_cast<size_t>(aperte.back())] = k;
				aperte.pop_back();
			}
	}
	// A group of only extra-accounting names and operators is an extra-accounting amount too.
	std::function<bool(int, int)> soloExtra = [&](int da, int a) {
		bool bNome = false;
		for (int k = da; k < a; ++k)
		{
			const Pezzo& p = pezzi[static_cast<size_t>(k)];
			if (p.tipo == Aperta)
			{
				if (chiusa[static_cast<size_t>(k)] >= a || !soloExtra(k + 1, chiusa[static_cast<size_t>(k)]))
					return false;
				k = chiusa[static_cast<size_t>(k)];
				bNome = true;
			}
			else if (p.tipo == Extra)
				bNome = true;
			else if (p.tipo != Operatore)
				return false;
		}
		return bNome;
	};

	std::string out;
	std::set<int> sostituisci;  // "/" after a leading neutral factor becomes "*": 1 / B would invert B
	int scritto = 0;            // the text before this place is in out
	auto copia = [&](int a) {
		for (; scritto < a; ++scritto)
			out += sostituisci.count(scritto) ? '*' : text[static_cast<size_t>(scritto)];
	};
	for (int k = 0; k < np; ++k)
	{
		const Pezzo& p = pezzi[static_cast<size_t>(k)];
		int fine = k;  // the last piece of the operand
		if (p.tipo == Aperta && chiusa[static_cast<size_t>(k)] < np && soloExtra(k + 1, chiusa[static_cast<size_t>(k)]))
			fine = chiusa[static_cast<size_t>(k)];
		else if (p.tipo != Extra)
			continue;
		// Its own operation: the operators on either side within its group decide.
		const char prima = k > 0 && pezzi[static_cast<size_t>(k) - 1].tipo == Operatore
							   ? text[static_cast<size_t>(pezzi[static_cast<size_t>(k) - 1].da)]
							   : 0;
		const char dopo = fine + 1 < np && pezzi[static_cast<size_t>(fine) + 1].tipo == Operatore
							  ? text[static_cast<size_t>(pezzi[static_cast<size_t>(fine) + 1].da)]
							  : 0;
		const bool bPrimaPer = prima == '*' || prima == '/';
		const bool bFattore = bPrimaPer || dopo == '*' || dopo == '/';
		if (!bPrimaPer && dopo == '/')
			sostituisci.insert(pezzi[static_cast<size_t>(fine) + 1].da);
		copia(p.da);
		const char* neutro = bFattore ? "1" : "0";
		out += p.tipo == Aperta ? std::string("(") + neutro + ")" : std::string(neutro);
		scritto = pezzi[static_cast<size_t>(fine)].a;
		k = fine;
	}
	copia(n);
	return out.empty() ? CString("0") : CString(std::move(out));
}

BOOL Kvz_New_MngFormula::PreparaTesto(CString& strText)
{
	if (!PreprocessForMacro(strText))
		return FALSE;
	// Only a symbol the registry holds as an extra-accounting one is left out: a symbol of
	// another kind keeps its value whatever its name.
	if (m_Modo.GetValue() == DataEnum(E_KVZ_TIPODATOPBASE, 1).GetValue())
		strText = NeutralizzaExtracont(strText, [this](const CString& strNome) {
			Kvz_TAnagSimboli riga;
			return CercaRigaAnagrafica(strNome, riga) == 1 && riga.f_TipoSimbolo.GetItemValue() == 1;
		});
	strText.Replace(',', '.');
	return TRUE;
}

// ---- Evaluation ----------------------------------------------------------------------------

int Kvz_New_MngFormula::UltimoMese() const
{
	const int n = m_MeseFinale.GetValue();
	ASSERT_RELEASE_TRACE(n >= 0 && n <= 12, "Kvz_New_MngFormula::UltimoMese", kSource);
	return std::clamp(n, 0, 12);
}

CString Kvz_New_MngFormula::ChiaveSimbolo(const DataInt& aEsercizio, const DataStr& aModello, const CString& strNome)
{
	// Put together, not formatted: every occurrence of a symbol makes a few.
	std::string chiave = std::to_string(aEsercizio.GetValue());
	chiave += '\x1f';
	chiave += aModello.GetString().str();
	chiave += '\x1f';
	chiave += strNome.str();
	return CString(std::move(chiave));
}

void Kvz_New_MngFormula::MessaggioUnaVolta(const CString& strChiave, const CString& strTesto)
{
	Kvz_New_MngFormula* pRadice = m_pRadice ? m_pRadice : this;
	if (pRadice->m_DettiUnaVolta.insert(strChiave).second)
		Messaggio(strTesto);
}

DataDbl Kvz_New_MngFormula::GetResult(int idx) const
{
	if (!(idx >= 0 && idx < 12))
	{
		ASSERT_RELEASE_FAILED("idx >= 0 && idx < 12", "Kvz_New_MngFormula::GetResult", kSource);
		return DataDbl(0.0);
	}
	return m_Risultati[idx];
}

BOOL Kvz_New_MngFormula::Eval()
{
	// One engine serves many formulas: no month of the previous one may show through.
	for (DataDbl& r : m_Risultati)
		r = 0.0;
	if (m_Formula.IsEmpty())
		return TRUE;
	if (!m_bDefaultAttached)
	{
		ASSERT_RELEASE_FAILED("0", "Kvz_New_MngFormula::Eval", kSource);
		return FALSE;
	}
	// Outside a run the stored formulas may change between two evaluations.
	if (!m_pRadice && !m_bDefinizioniStabili)
		m_Annidate.clear();
	SvuotaAlberoMacro();
	m_bRicorsione = false;
	CString testo = m_Formula;
	return EvalExpression(&testo);
}

BOOL Kvz_New_MngFormula::LeggiAnagrafica(const CString& strNome)
{
	const int trovata = CercaRigaAnagrafica(strNome, m_RigaAnagrafica);
	// A name not in the registry is said so: the row of another symbol is never used for it.
	if (trovata == 0)
		Messaggio(TestoSimboloMancante(strNome, m_Esercizio, m_Modello));
	return trovata == 1;
}

int Kvz_New_MngFormula::CercaRigaAnagrafica(const CString& strNome, Kvz_TAnagSimboli& riga)
{
	if (!m_Ditta.IsEmpty())
	{
		Kvz_New_External* pExternal = GetDatabase(m_Ditta);
		if (!pExternal->GetConnection())
			return -1;  // said when the connection failed
		try
		{
			return pExternal->CercaSimbolo(m_Esercizio, m_Modello, DataStr(strNome), riga) ? 1 : 0;
		}
		catch (const std::exception& e)
		{
			AfxMessageBox(CString(std::string(e.what()).substr(0, 255)));
			return -1;
		}
	}
	if (Kvz_New_LettureStabili* pLetture = Letture())
	{
		const Kvz_TAnagSimboli* pRiga = pLetture->Anagrafica(m_Esercizio, m_Modello, strNome);
		if (!pRiga || pRiga->f_NomeSimbolo.GetString() != strNome)
			return 0;
		riga = *pRiga;
		return 1;
	}
	// With stable definitions a name is looked up once, found or not.
	std::unique_ptr<Kvz_TAnagSimboli>* pLetta = nullptr;
	if (m_bDefinizioniStabili)
	{
		auto [it, bNuova] = m_AnagraficheLette.try_emplace(ChiaveSimbolo(m_Esercizio, m_Modello, strNome));
		if (!bNuova)
		{
			if (!it->second)
				return 0;
			riga = *it->second;
			return 1;
		}
		pLetta = &it->second;
	}
	if (!CercaAnagrafica(m_TRAnagSimboli, m_Esercizio, m_Modello, strNome, riga))
		return 0;
	if (pLetta)
	{
		*pLetta = std::make_unique<Kvz_TAnagSimboli>();
		**pLetta = riga;
	}
	return 1;
}

// One formula text as prepared, its symbol names in text order and its compiled expression.
struct Kvz_New_MngFormula::Compilata
{
	std::vector<CString> nomi;
	ErpSymTable table;
	Expression expr{&table};
	bool bValida = false;
};

Kvz_New_MngFormula::Compilata* Kvz_New_MngFormula::Compila(const CString& strFormula)
{
	// A run evaluates the same texts over and over: prepared and parsed once per engine.
	// Looked up without copying the texts.
	const std::tuple<const CString&, int, const CString&, DWORD> chiave(strFormula, m_Esercizio.GetValue(),
																	 m_Modello.GetString(), m_Modo.GetValue());
	auto it = m_Compilate.find(chiave);
	if (it != m_Compilate.end())
		return it->second.get();
	CString testo = strFormula;
	if (!PreparaTesto(testo))
		return nullptr;
	auto c = std::make_unique<Compilata>();
	PerOgniNome(testo.str(), [&](const NomeLetto& letto) {
		if (!letto.bMacro)  // a macro left here is for the syntax check
		{
			c->nomi.push_back(letto.nome);
			c->table.Add("_" + letto.nome, DataType::Double);
		}
		return true;
	});
	Parser parser(testo, nullptr, -1, 0);
	c->bValida = c->expr.Parse(parser, DataType::Double, 1) != FALSE;
	return m_Compilate.emplace(CompilataChiave(chiave), std::move(c)).first->second.get();
}

BOOL Kvz_New_MngFormula::EvalExpression(CString* pText)
{
	Compilata* pCompilata = Compila(*pText);
	if (!pCompilata || !pCompilata->bValida)
		return FALSE;
	// Every occurrence is valued as it comes (extra-accounting symbols only once).
	for (const CString& nome : pCompilata->nomi)
	{
		if (PianoBaseGiaValutato(nome))
			continue;
		if (!LeggiAnagrafica(nome) || !AziendaRaggiungibile(nome))
			return FALSE;
		switch (m_RigaAnagrafica.f_TipoSimbolo.GetItemValue())
		{
		case 1:
			if (!ValorizzaExtracont(nome))
				return FALSE;
			break;
		case 0:
			if (!ValorizzaPianoBase(nome))
				return FALSE;
			break;
		case 3:
			if (!ValorizzaRiclassific(nome))
				return FALSE;
			break;
		case 6:
			if (!ValorizzaOutputRiclassific(nome))
				return FALSE;
			break;
		default: break;  // valued elsewhere, or not at all
		}
	}
	ErpSymTable& table = pCompilata->table;
	Expression& expr = pCompilata->expr;
	const int nMesi = UltimoMese();
	// The fields and the symbols whose values they take, side by side.
	std::vector<SymField*> campi;
	std::vector<const Kvz_New_Simbolo*> simboli;
	for (auto& pField : table)
	{
		auto it = m_MapSimboli.find(ChiaveSimbolo(m_Esercizio, m_Modello, pField->GetName()));
		if (it == m_MapSimboli.end())
		{
			if (nMesi > 0)
			{
				// A symbol met inside its own formula was said and skipped: no assertion.
				if (!m_bRicorsione)
					ASSERT_RELEASE_FAILED("0", "Kvz_New_MngFormula::EvalExpression", kSource);
				return FALSE;
			}
			continue;
		}
		campi.push_back(pField.get());
		simboli.push_back(it->second.get());
	}
	CString mesiFalliti, errore;
	int nFalliti = 0;
	for (int m = 0; m < nMesi; ++m)
	{
		SymField::SetValues(campi, [&](size_t i) { return simboli[i]->m_Valori[m].GetValue(); });
		double valore = 0;
		if (!expr.Eval(valore))
		{
			if (errore.IsEmpty())
				errore = expr.GetErrorText();
			mesiFalliti += CString::Formatted(nFalliti++ ? ", %d" : "%d", m + 1);
			valore = 0;
		}
		m_Risultati[m] = valore;
	}
	// Those months get 0; a run of many formulas hears of it once per row and column where the
	// caller said them (a symbol's own formula once per formula), with every month.
	if (nFalliti > 0)
	{
		const CString strDove = m_pRadice ? CString() : m_Dove;
		const CString strModello = strDove.IsEmpty() ? m_Modello.GetString() : m_Modello.GetString() + ", " + strDove;
		MessaggioUnaVolta("calcolo\x1f" + strModello + "\x1f" + m_Formula,
						  nFalliti == 1
							  ? CString::Formatted(AfxLoadSourceString("Modello %s, formula %s, mese %s: %s. Il mese vale 0.",
																	   kSource),
												   strModello.GetString(), m_Formula.GetString(),
												   mesiFalliti.GetString(), errore.GetString())
							  : CString::Formatted(AfxLoadSourceString(
													   "Modello %s, formula %s, mesi %s: %s. Quei mesi valgono 0.", kSource),
												   strModello.GetString(), m_Formula.GetString(),
												   mesiFalliti.GetString(), errore.GetString()));
	}
	return TRUE;
}

BOOL Kvz_New_MngFormula::SimboloGiaValutato(const CString& strNome, const DataEnum& aTipo, const DataStr& aModello,
											const DataInt& aEsercizio, Kvz_New_Simbolo*& pSimbolo)
{
	const CString nome = "_" + strNome;
	const CString chiave = ChiaveSimbolo(aEsercizio, aModello, nome);
	const bool bRiclassificato = aTipo.GetItemValue() == 3;
	auto it = m_MapSimboli.find(chiave);
	if (it != m_MapSimboli.end() && !bRiclassificato)
	{
		pSimbolo = it->second.get();
		return TRUE;
	}
	auto nuovo = std::make_unique<Kvz_New_Simbolo>();
	nuovo->m_Nome = nome;
	nuovo->m_Tipo = aTipo;
	nuovo->m_Modello = aModello;
	nuovo->m_Esercizio = aEsercizio;
	nuovo->m_pParent = m_pParentSimbolo;
	for (Kvz_New_Simbolo* p = nuovo->m_pParent; p; p = p->m_pParent)
	{
		if (p->m_Nome == nome && p->m_Esercizio.GetValue() == aEsercizio.GetValue() &&
			p->m_Modello.GetString() == aModello.GetString())
		{
			++Radice().m_nNonRiutilizzabili;
			MessaggioUnaVolta("ricorsione\x1f" + chiave,
							  CString::Formatted(AfxLoadSourceString("Ricorsivita' trovata sul simbolo %s.", kSource),
												 nome.GetString()));
			pSimbolo = nullptr;
			m_bRicorsione = true;
			return TRUE;
		}
	}
	pSimbolo = nuovo.get();
	m_MapSimboli[chiave] = std::move(nuovo);
	return FALSE;
}

BOOL Kvz_New_MngFormula::EvalFormula(Kvz_New_Simbolo* pSimbolo, const CString& strFormula, const DataInt& aEsercizio,
									 const DataInt& aMese, const DataStr& aModello)
{
	return EvalFormula(pSimbolo, strFormula, aEsercizio, aMese, aModello, nullptr);
}

BOOL Kvz_New_MngFormula::EvalFormula(Kvz_New_Simbolo* pSimbolo, const CString& strFormula, const DataInt& aEsercizio,
									 const DataInt& aMese, const DataStr& aModello, const DataEnum& aTipoBudget)
{
	return EvalFormula(pSimbolo, strFormula, aEsercizio, aMese, aModello, &aTipoBudget);
}

CString Kvz_New_MngFormula::TestoTroppoAnnidato(const Kvz_New_Simbolo* pUltimo)
{
	std::vector<CString> catena;
	for (const Kvz_New_Simbolo* p = pUltimo; p; p = p->m_pParent)
		catena.push_back(p->m_Nome);
	std::reverse(catena.begin(), catena.end());
	// The first names and the last ones: where the chain starts and where it was stopped.
	CString testo;
	const size_t n = catena.size();
	for (size_t i = 0; i < n; ++i)
	{
		if (i == 3 && n > 6)
		{
			testo += " > ...";
			i = n - 4;
			continue;
		}
		testo += (i ? " > " : "") + catena[i];
	}
	return CString::Formatted(
		AfxLoadSourceString("Simboli annidati troppo in profondita' (%d livelli): %s. La formula non e' calcolata.",
							kSource),
		static_cast<int>(n), testo.GetString());
}

BOOL Kvz_New_MngFormula::EvalFormula(Kvz_New_Simbolo* pSimbolo, const CString& strFormula, const DataInt& aEsercizio,
									 const DataInt& aMese, const DataStr& aModello, const DataEnum* pTipoBudget)
{
	if (strFormula.IsEmpty() || !pSimbolo)
		return TRUE;
	Kvz_New_MngFormula& radice = Radice();
	// A month past the last one (a symbol's fixed month) is evaluated up to that month.
	const DataInt ultimo = aMese.GetValue() > UltimoMese() && aMese.GetValue() <= 12 ? aMese : m_MeseFinale;
	// The same formula in the same setting gives the same figures: valued once, then reused.
	const CString chiave = CString::Formatted(
		"%d\x1f%s\x1f%d\x1f%d\x1f%u\x1f%d\x1f%s", aEsercizio.GetValue(), aModello.GetString().GetString(),
		m_MeseIniziale.GetValue(), ultimo.GetValue(), m_Modo.GetValue(),
		pTipoBudget ? static_cast<int>(pTipoBudget->GetItemValue()) : -1, strFormula.GetString());
	const Annidata* pRisultato = nullptr;
	Annidata calcolata;
	auto it = radice.m_Annidate.find(chiave);
	if (it != radice.m_Annidate.end())
		pRisultato = &it->second;
	else
	{
		if (m_nLivello >= MaxLivelliAnnidati || AfxStackRemaining() < MinStackLibero)
		{
			++radice.m_nTroppoAnnidate;
			MessaggioUnaVolta("annidamento", TestoTroppoAnnidato(pSimbolo));
			return FALSE;
		}
		// Off the stack: a chain of formulas nests one engine per level.
		auto nested = std::make_unique<Kvz_New_MngFormula>(m_pMessages, m_pNomi, pSimbolo, nullptr);
		nested->m_pRadice = &radice;
		nested->m_nLivello = m_nLivello + 1;
		nested->AttachDefault(aEsercizio, m_MeseIniziale, ultimo, aModello, m_Modo, m_ModoUlteriore);
		if (pTipoBudget)
			nested->AttachFormulaBudget(strFormula, *pTipoBudget);
		else
			nested->AttachFormula(strFormula);
		const int nNonRiutilizzabili = radice.m_nNonRiutilizzabili;
		const int nTroppoAnnidate = radice.m_nTroppoAnnidate;
		// A formula that cannot be evaluated leaves no value to add: the symbol fails with it,
		// unless it met a symbol inside its own formula, which was said and adds nothing.
		const bool bValutata = nested->Eval() != FALSE;
		calcolata.bValida = bValutata || nested->m_bRicorsione;
		if (bValutata)
			for (int m = 0; m < 12; ++m)
				calcolata.valori[static_cast<size_t>(m)] = nested->m_Risultati[m].GetValue();
		pRisultato = &calcolata;
		// A chain stopped by the nesting bound fails wherever it is met again: kept as failed,
		// every later row that reaches it fails at once instead of walking it to the bound again.
		const bool bFermata = radice.m_nTroppoAnnidate != nTroppoAnnidate;
		if (radice.m_nNonRiutilizzabili == nNonRiutilizzabili && (!bFermata || !calcolata.bValida))
			pRisultato = &radice.m_Annidate.emplace(chiave, calcolata).first->second;
	}
	if (!pRisultato->bValida)
		return FALSE;
	const int mese = aMese.GetValue();
	if (mese < 1)
	{
		for (int m = 0; m < UltimoMese(); ++m)
			pSimbolo->m_Valori[m] += pRisultato->valori[static_cast<size_t>(m)];
	}
	else if (mese <= 12)
		pSimbolo->m_Valori[mese - 1] += pRisultato->valori[static_cast<size_t>(mese - 1)];
	else
		ASSERT_RELEASE_FAILED("aMese <= 12", "Kvz_New_MngFormula::EvalFormula", kSource);
	return TRUE;
}

// ---- Reclassified-code and extra-accounting-code symbols ------------------------------------

void Kvz_CompletaIntervallo(DataStr& aDa, DataStr& aA)
{
	if (aDa.IsEmpty())
		aDa = aA;
	else if (aA.IsEmpty())
		aA = aDa;
}


namespace {
// An average over the codes: each of the first months divided by the number of codes that
// have a formula in it, to the cent.
void Media(Kvz_New_Simbolo& simbolo, const std::array<int, 12>& conteggi, int nMesi)
{
	for (int m = 0; m < nMesi; ++m)
	{
		if (conteggi[static_cast<size_t>(m)] == 0)
			continue;
		simbolo.m_Valori[m] = simbolo.m_Valori[m].GetValue() / conteggi[static_cast<size_t>(m)];
		simbolo.m_Valori[m].Round(2);
	}
}
}  // namespace

void Kvz_New_MngFormula::NessunCodice(const CString& strNome, const DataStr& aDa, const DataStr& aA,
									   const DataStr& aModello)
{
	const CString intervallo =
		aModello.IsEmpty()
			? CString::Formatted(AfxLoadSourceString("da %s a %s", kSource), aDa.GetString().GetString(),
								 aA.GetString().GetString())
			: CString::Formatted(AfxLoadSourceString("da %s a %s del modello %s", kSource), aDa.GetString().GetString(),
								 aA.GetString().GetString(), aModello.GetString().GetString());
	MessaggioUnaVolta("nessuncodice\x1f" + ChiaveSimbolo(m_Esercizio, m_Modello, strNome),
					  CString::Formatted(AfxLoadSourceString("Il simbolo %s non seleziona alcun codice: %s.", kSource),
										 strNome.GetString(), intervallo.GetString()));
}

void Kvz_New_MngFormula::ScartaSimbolo(const CString& strNome)
{
	m_MapSimboli.erase(ChiaveSimbolo(m_Esercizio, m_Modello, "_" + strNome));
}

BOOL Kvz_New_MngFormula::ValorizzaRiclassific(const CString& strNome)
{
	Kvz_New_Simbolo* pSimbolo = nullptr;
	if (SimboloGiaValutato(strNome, DataEnum(E_KVZ_TIPOSIMBOLO, 3), m_Modello, m_Esercizio, pSimbolo))
		return TRUE;
	try
	{
		Kvz_New_LettureStabili* pLetture = Letture();
		Kvz_TRSimboliCodiciRiclass& reader = m_TRSimboliRiclass;
		const Kvz_TSimboliCodiciRiclass* pDef =
			pLetture ? pLetture->SimboloRiclass(m_Esercizio, m_Modello, strNome)
					 : reader.FindRecord(m_Esercizio, DataStr(strNome), m_Modello) == TableReader::FOUND ? reader.GetRecord()
																										  : nullptr;
		if (!pDef)
		{
			Messaggio(CString::Formatted(
				AfxLoadSourceString("Il simbolo %s (codice riclassificato) modello %s non e' presente in tabella simboli.",
									kSource),
				strNome.GetString(), m_Modello.GetString().GetString()));
			return TRUE;
		}
		Kvz_TSimboliCodiciRiclass def = *pDef;
		if (!m_bDefaultAttached && (def.f_ValoreEsSymb || def.f_ValoreModelloSymb))
			return TRUE;
		const DataInt esercizio = def.f_ValoreEsSymb ? m_Esercizio : def.f_ValoreEs;
		const DataStr modello = def.f_ValoreModelloSymb ? m_Modello : def.f_ValoreModello;
		Kvz_CompletaIntervallo(def.f_ValoreCodice, def.f_ValoreCodiceA);
		// Inside a budget formula the formula's budget type decides; elsewhere a symbol defined
		// on a budget formula takes the one it names.
		const bool bBudget = m_bFormulaBudget || def.f_ValoreDalBudget;
		const DataEnum tipoBudget = m_bFormulaBudget ? m_TipoBudget : def.f_TipoBudget;

		// The rows between the two ends' positions in the model.
		Kvz_TRRiclassificazioneRighe& righe = m_TRRighe;
		auto cercaRiga = [&](const DataStr& codice) -> const Kvz_TRiclassificazioneRighe* {
			if (pLetture)
				return pLetture->Riga(esercizio, modello, codice);
			return righe.FindRecord(esercizio, modello, codice) == TableReader::FOUND ? righe.GetRecord() : nullptr;
		};
		auto posizione = [&](const DataStr& codice) -> int {
			const Kvz_TRiclassificazioneRighe* pRiga = cercaRiga(codice);
			return pRiga ? pRiga->f_Posizione.GetValue() : 0;
		};
		const int daPos = posizione(def.f_ValoreCodice);
		const int aPos = posizione(def.f_ValoreCodiceA);

		BOOL bOk = TRUE;
		int nSelezionati = 0;
		auto valuta = [&](const DataStr& codice) -> bool {
			const Kvz_TRiclassificazioneRighe* pRiga = cercaRiga(codice);
			const bool bTrovato = pRiga != nullptr;
			if (bTrovato)
			{
				const int pos = pRiga->f_Posizione.GetValue();
				if (pos < daPos || pos > aPos)
					return false;
			}
			++nSelezionati;
			// A row of this run's model stored with its share is read as stored.
			if (const auto& valoriRighe = Radice().m_ValoriRighe; valoriRighe && !m_RigaAnagrafica.f_UsaAziendaEsterna)
			{
				const int nSlot = bBudget ? 1 + static_cast<int>(tipoBudget.GetItemValue()) : def.f_FormulaDaUsare.GetValue() == 0 ? 0
									  : 3 + def.f_FormulaDaUsare.GetValue();
				if (const double* pValori = valoriRighe(esercizio, modello, codice, nSlot))
				{
					++Radice().m_nNonRiutilizzabili;  // before the row is stored its formula is read
					for (int m = 0; m < UltimoMese(); ++m)
						pSimbolo->m_Valori[m] += pValori[m];
					return true;
				}
			}
			// Here the row just read gives the formula; another company's comes from its database.
			CString testo;
			if (m_RigaAnagrafica.f_UsaAziendaEsterna)
				testo = CercaFormulaRiclassificato(esercizio, modello, codice, def.f_FormulaDaUsare, DataBool(bBudget),
												   tipoBudget);
			else
				testo = bTrovato ? FormulaDellaRiga(*pRiga, def.f_FormulaDaUsare.GetValue(), bBudget,
													tipoBudget)
								 : CString("0");
			if (testo.IsEmpty())
				return false;
			bOk = bBudget ? EvalFormula(pSimbolo, testo, esercizio, DataInt(-1), modello, tipoBudget)
						  : EvalFormula(pSimbolo, testo, esercizio, DataInt(-1), modello);
			return true;
		};

		if (def.f_ValoreCodice.GetString() == def.f_ValoreCodiceA.GetString())
			valuta(def.f_ValoreCodice);
		else
		{
			Kvz_TCodiciRiclassificato codici;
			int nConteggio = 0;
			for (const DataStr& codice : Kvz_CodiciTra(codici, codici.f_Esercizio, &codici.f_ModelloRiclassific,
												   codici.f_CodRiclassificato, esercizio, modello, def.f_ValoreCodice,
												   def.f_ValoreCodiceA))
			{
				nConteggio += valuta(codice) ? 1 : 0;
				if (!bOk)
					break;
			}
			if (bOk && nConteggio > 0 && def.f_AggregFunction.GetItemValue() == 1)
			{
				std::array<int, 12> conteggi;
				conteggi.fill(nConteggio);
				Media(*pSimbolo, conteggi, UltimoMese());
			}
			if (bOk && nSelezionati == 0)
				NessunCodice(strNome, def.f_ValoreCodice, def.f_ValoreCodiceA, modello);
		}
		if (!bOk)
			ScartaSimbolo(strNome);
		return bOk;
	}
	catch (const std::exception& e)
	{
		MostraErroreSql(e, "Kvz_New_MngFormula::ValorizzaRiclassific");
		ScartaSimbolo(strNome);
		return FALSE;
	}
}

CString Kvz_New_MngFormula::CercaFormulaRiclassificato(const DataInt& aEsercizio, const DataStr& aModello,
													   const DataStr& aCodice, const DataInt& aNumero,
													   const DataBool& bBudget, const DataEnum& aTipoBudget)
{
	// A failing read of another company goes to the caller, which fails the symbol.
	if (m_RigaAnagrafica.f_UsaAziendaEsterna)
		return GetDatabase(m_RigaAnagrafica.f_Azienda)
			->FormulaRiclassificato(aEsercizio, aModello, aCodice, aNumero, bBudget, aTipoBudget);
	if (Kvz_New_LettureStabili* pLetture = Letture())
	{
		const Kvz_TRiclassificazioneRighe* pRiga = pLetture->Riga(aEsercizio, aModello, aCodice);
		return pRiga ? FormulaDellaRiga(*pRiga, aNumero.GetValue(), bBudget, aTipoBudget) : CString("0");
	}
	Kvz_TRRiclassificazioneRighe& righe = m_TRRighe;
	if (righe.FindRecord(aEsercizio, aModello, aCodice) != TableReader::FOUND)
		return "0";
	return FormulaDellaRiga(*righe.GetRecord(), aNumero.GetValue(), bBudget, aTipoBudget);
}

BOOL Kvz_New_MngFormula::ValorizzaExtracont(const CString& strNome)
{
	Kvz_New_Simbolo* pSimbolo = nullptr;
	if (SimboloGiaValutato(strNome, DataEnum(E_KVZ_TIPOSIMBOLO, 1), m_Modello, m_Esercizio, pSimbolo))
		return TRUE;
	try
	{
		Kvz_New_LettureStabili* pLetture = Letture();
		Kvz_TRSimboliCodiciExtracont& reader = m_TRSimboliExtra;
		const Kvz_TSimboliCodiciExtracont* pDef =
			pLetture ? pLetture->SimboloExtracont(m_Esercizio, m_Modello, strNome)
					 : reader.FindRecord(m_Esercizio, DataStr(strNome), m_Modello) == TableReader::FOUND ? reader.GetRecord()
																										  : nullptr;
		if (!pDef)
		{
			Messaggio(CString::Formatted(
				AfxLoadSourceString("Il simbolo %s (codice extracontabile) modello %s non e' presente in tabella simboli.",
									kSource),
				strNome.GetString(), m_Modello.GetString().GetString()));
			return TRUE;
		}
		Kvz_TSimboliCodiciExtracont def = *pDef;
		if (!m_bDefaultAttached && (def.f_ValoreEsSymb || def.f_ValoreMeseSymb))
			return TRUE;
		const DataInt esercizio = def.f_ValoreEsSymb ? m_Esercizio : def.f_ValoreEs;
		// A fixed month is that month's value in every month.
		const bool bMeseFisso = !def.f_ValoreMeseSymb;
		const int meseFisso = std::clamp(def.f_ValoreMese.GetValue(), 1, 12);
		Kvz_CompletaIntervallo(def.f_ValoreCodice, def.f_ValoreCodiceA);
		const int nMesi = UltimoMese();
		const bool bSenzaExtracontabili = m_Modo.GetItemValue() == 1;

		// Per month, the codes that have a formula in it: the divisor of an average.
		std::array<int, 12> conteggi{};
		BOOL bOk = TRUE;
		auto valuta = [&](const DataStr& codice) {
			for (int m = bMeseFisso ? meseFisso : 1; bOk && m <= (bMeseFisso ? meseFisso : nMesi); ++m)
			{
				CString testo = CercaFormulaExtracontabile(esercizio, DataInt(m), codice, def.f_FormulaDaUsare);
				if (testo.IsEmpty())
					continue;
				++conteggi[static_cast<size_t>(m - 1)];
				if (!bSenzaExtracontabili)
					bOk = EvalFormula(pSimbolo, testo, esercizio, DataInt(m), codice);
			}
		};
		const bool bIntervallo = def.f_ValoreCodice.GetString() != def.f_ValoreCodiceA.GetString();
		if (!bIntervallo)
			valuta(def.f_ValoreCodice);
		else
		{
			Kvz_TCodExtracontabiliTesta codici;
			const std::vector<DataStr> tra = Kvz_CodiciTra(codici, codici.f_Esercizio, nullptr, codici.f_CodExtracont,
														  esercizio, DataStr(), def.f_ValoreCodice, def.f_ValoreCodiceA);
			for (const DataStr& codice : tra)
			{
				valuta(codice);
				if (!bOk)
					break;
			}
			if (tra.empty())
				NessunCodice(strNome, def.f_ValoreCodice, def.f_ValoreCodiceA, DataStr());
		}
		if (!bOk)
		{
			ScartaSimbolo(strNome);
			return FALSE;
		}
		if (bMeseFisso)
			for (int m = 0; m < nMesi; ++m)
			{
				pSimbolo->m_Valori[m] = pSimbolo->m_Valori[meseFisso - 1];
				conteggi[static_cast<size_t>(m)] = conteggi[static_cast<size_t>(meseFisso - 1)];
			}
		// One code is its own value; a range's average is over the codes of each month.
		if (bIntervallo && def.f_AggregFunction.GetItemValue() == 1)
			Media(*pSimbolo, conteggi, nMesi);
		return TRUE;
	}
	catch (const std::exception& e)
	{
		MostraErroreSql(e, "Kvz_New_MngFormula::ValorizzaExtracont");
		ScartaSimbolo(strNome);
		return FALSE;
	}
}

CString Kvz_New_MngFormula::CercaFormulaExtracontabile(const DataInt& aEsercizio, const DataInt& aMese,
													   const DataStr& aCodice, const DataInt& aNumero)
{
	// A failing read of another company goes to the caller, which fails the symbol.
	if (m_RigaAnagrafica.f_UsaAziendaEsterna)
		return GetDatabase(m_RigaAnagrafica.f_Azienda)->FormulaExtracontabile(aEsercizio, aMese, aCodice, aNumero);
	if (Kvz_New_LettureStabili* pLetture = Letture())
	{
		const Kvz_TCodExtracontabili* pMese = pLetture->MeseExtracont(aEsercizio, aCodice, aMese.GetValue());
		return pMese ? FormulaNumero(*pMese, aNumero.GetValue()) : CString("0");
	}
	Kvz_TRCodExtracontabili& reader = m_TRCodExtra;
	if (reader.FindRecord(aEsercizio, aCodice, aMese) != TableReader::FOUND)
		return "0";
	return FormulaNumero(*reader.GetRecord(), aNumero.GetValue());
}

// ---- Other companies' databases ------------------------------------------------------------

struct Kvz_New_External::Cursori
{
	explicit Cursori(SqlConnection* pConn)
		: anagrafica(pConn), righe(pConn), extracont(pConn), output(pConn), risultati(pConn)
	{
	}
	Kvz_TAnagSimboli_Ext anagrafica;
	Kvz_TModRiclassRighe_Ext righe;
	Kvz_TCodExtracont_Ext extracont;
	Kvz_TSimboliOutputRiclass_Ext output;
	Kvz_TRiclassificato_Ext risultati;
	std::unique_ptr<SqlTable> pAnagrafica, pRighe, pExtracont, pOutput, pRisultati;
};

Kvz_New_External::Kvz_New_External(CAbstractFormDoc* pDoc) : m_pDoc(pDoc)
{
	ASSERT_RELEASE_FAILED("0", "Kvz_New_External::Kvz_New_External", kSource);
}

Kvz_New_External::Kvz_New_External(Kvz_TRAziende* pAziende, const DataStr& aAzienda, CAbstractFormDoc* pDoc,
								   CMessages* pMessages)
	: m_pDoc(pDoc)
{
	auto messaggio = [&](const CString& testo) {
		if (pMessages)
			pMessages->Add(testo, kTipoMessaggio);
		else
			AfxMessageBox(testo);
	};
	if (!pAziende)
	{
		messaggio(CString::Formatted(AfxLoadSourceString("Azienda %s non censita.", kSource),
									 aAzienda.GetString().GetString()));
		return;
	}
	m_pConnection = ApriConnessione(*pAziende, aAzienda, 30, messaggio);
	if (!m_pConnection)
		return;
	m_pCursori = std::make_unique<Cursori>(m_pConnection);
}

Kvz_New_External::~Kvz_New_External()
{
	m_Query.clear();  // before the connection they run on
	if (m_pCursori)
	{
		for (auto* p : {&m_pCursori->pAnagrafica, &m_pCursori->pRighe, &m_pCursori->pExtracont, &m_pCursori->pOutput,
						&m_pCursori->pRisultati})
			if (*p && (*p)->IsOpen())
				(*p)->Close();
		m_pCursori.reset();
	}
	if (m_pConnection)
		AfxGetOleDbMng()->CloseConnection(m_pConnection);
}

SqlConnection* Kvz_New_External::ApriConnessione(Kvz_TRAziende& aziende, const DataStr& aAzienda, int nTimeout,
												 const std::function<void(const CString&)>& messaggio)
{
	// A company not in the register is said so: another company's row is never used for it.
	if (aAzienda.IsEmpty() || aziende.FindRecord(aAzienda) != TableReader::FOUND)
	{
		messaggio(CString::Formatted(AfxLoadSourceString("Azienda %s non censita.", kSource),
									 aAzienda.GetString().GetString()));
		return nullptr;
	}
	const Kvz_TAziende& r = *aziende.GetRecord();
	const CString stringa = StringaConnessione(r.f_Server.GetString(), r.f_DataSource.GetString(),
											   r.f_UserID.GetString(), r.f_Password.GetString(), nTimeout);
	SqlConnection* pConn = AfxGetOleDbMng()->MakeNewConnection(stringa, 0, 0, 0, _T(""), nullptr);
	// The manager's reason may quote the connection data: the password stays out of it.
	if (!pConn)
		messaggio(CString::Formatted(AfxLoadSourceString("Connessione al database esterno %s fallita.", kSource),
									 aAzienda.GetString().GetString()));
	return pConn;
}

CString Kvz_New_External::StringaConnessione(const CString& strServer, const CString& strDatabase,
											 const CString& strUtente, const CString& strPassword, int nTimeout)
{
	return COleDbManager::BuildConnectionString(strServer, strDatabase, strUtente, strPassword, nTimeout);
}

namespace {
// A cursor over the other company's table, filtered by equality on the given columns
// (parameter name and column), opened at its first use.
SqlTable& ApriCursore(std::unique_ptr<SqlTable>& pTable, SqlRecord& rec, SqlConnection* pConn,
				  std::initializer_list<std::pair<LPCTSTR, DataObj*>> filtri)
{
	if (!pTable)
	{
		pTable = std::make_unique<SqlTable>(&rec, pConn->GetDefaultSqlSession());
		pTable->Open(FALSE, FALSE, TRUE);
		pTable->SelectAll();
		for (auto& [param, col] : filtri)
		{
			pTable->AddParam(param, *col);
			pTable->AddFilterColumn(*col);
		}
	}
	return *pTable;
}
}  // namespace

BOOL Kvz_New_External::CercaSimbolo(const DataInt& aEsercizio, const DataStr& aModello, const DataStr& aNome,
									Kvz_TAnagSimboli& riga)
{
	if (!m_pCursori)
		return FALSE;
	auto& r = m_pCursori->anagrafica;
	SqlTable& t = ApriCursore(m_pCursori->pAnagrafica, r, m_pConnection,
						  {{"p18", &r.f_Esercizio}, {"p27", &r.f_ModelloRiclassific}, {"p32", &r.f_NomeSimbolo}});
	t.SetParamValue("p18", aEsercizio);
	t.SetParamValue("p27", aModello);
	t.SetParamValue("p32", aNome);
	t.Query();
	if (t.IsEOF() || r.f_NomeSimbolo.GetString() != aNome.GetString())
		return FALSE;
	riga.f_Esercizio = r.f_Esercizio;
	riga.f_ModelloRiclassific = r.f_ModelloRiclassific;
	riga.f_NomeSimbolo = r.f_NomeSimbolo;
	riga.f_TipoSimbolo = DataEnum(static_cast<DWORD>(r.f_TipoSimbolo.GetValue()));
	riga.f_DataCreazione = r.f_DataCreazione;
	riga.f_DataUltModifica = r.f_DataUltModifica;
	riga.f_UsaAziendaEsterna = r.f_UsaAziendaEsterna;
	riga.f_Azienda = r.f_Azienda;
	return TRUE;
}

CString Kvz_New_External::FormulaRiclassificato(const DataInt& aEsercizio, const DataStr& aModello,
												const DataStr& aCodice, const DataInt& aNumero, const DataBool& bBudget,
												const DataEnum& aTipoBudget)
{
	if (!m_pCursori)
		return "";
	auto& r = m_pCursori->righe;
	SqlTable& t = ApriCursore(m_pCursori->pRighe, r, m_pConnection,
						  {{"p18", &r.f_Esercizio}, {"p27", &r.f_ModelloRiclassific}, {"p28", &r.f_CodRiclassificato}});
	t.SetParamValue("p18", aEsercizio);
	t.SetParamValue("p27", aModello);
	t.SetParamValue("p28", aCodice);
	t.Query();
	if (t.IsEOF())
		return "0";
	return FormulaDellaRiga(r, aNumero.GetValue(), bBudget, aTipoBudget);
}

CString Kvz_New_External::FormulaExtracontabile(const DataInt& aEsercizio, const DataInt& aMese, const DataStr& aCodice,
												const DataInt& aNumero)
{
	if (!m_pCursori)
		return "";
	auto& r = m_pCursori->extracont;
	SqlTable& t = ApriCursore(m_pCursori->pExtracont, r, m_pConnection,
						  {{"p18", &r.f_Esercizio}, {"p26", &r.f_CodExtracont}, {"p22", &r.f_Mese}});
	t.SetParamValue("p18", aEsercizio);
	t.SetParamValue("p26", aCodice);
	t.SetParamValue("p22", aMese);
	t.Query();
	if (t.IsEOF())
		return "0";
	return FormulaNumero(r, aNumero.GetValue());
}

BOOL Kvz_New_External::CercaSimboloRisultato(const DataInt& aEsercizio, const DataStr& aModello, const DataStr& aNome,
											 Kvz_TSimboliOutputRiclass& def)
{
	if (!m_pCursori)
		return FALSE;
	auto& r = m_pCursori->output;
	SqlTable& t = ApriCursore(m_pCursori->pOutput, r, m_pConnection,
						  {{"p18", &r.f_Esercizio}, {"p27", &r.f_ModelloRiclassific}, {"p32", &r.f_NomeSimbolo}});
	t.SetParamValue("p18", aEsercizio);
	t.SetParamValue("p27", aModello);
	t.SetParamValue("p32", aNome);
	t.Query();
	if (t.IsEOF())
		return FALSE;
	def.f_Esercizio = r.f_Esercizio;
	def.f_ModelloRiclassific = r.f_ModelloRiclassific;
	def.f_NomeSimbolo = r.f_NomeSimbolo;
	def.f_Annotazioni = r.f_Annotazioni;
	def.f_ValoreEsConst = r.f_ValoreEsConst;
	def.f_ValoreEsSymb = r.f_ValoreEsSymb;
	def.f_ValoreEs = r.f_ValoreEs;
	def.f_ValoreMeseConst = r.f_ValoreMeseConst;
	def.f_ValoreMeseSymb = r.f_ValoreMeseSymb;
	def.f_ValoreMese = r.f_ValoreMese;
	def.f_ValoreModello = r.f_ValoreModello;
	def.f_ValoreCodice = r.f_ValoreCodice;
	def.f_ValoreCodiceA = r.f_ValoreCodiceA;
	def.f_AggregFunction = DataEnum(static_cast<DWORD>(r.f_AggregFunction.GetValue()));
	def.f_TipoDatoPBase = DataEnum(static_cast<DWORD>(r.f_TipoDatoPBase.GetValue()));
	def.f_ValoreDalBudget = r.f_ValoreDalBudget;
	def.f_TipoBudget = DataEnum(static_cast<DWORD>(r.f_TipoBudget.GetValue()));
	def.f_ValoreDaUsare = r.f_ValoreDaUsare;
	return TRUE;
}

int Kvz_New_External::PosizioneRisultato(const DataInt& aEsercizio, const DataStr& aModello, const DataStr& aCodice)
{
	if (!m_pCursori)
		return 0;
	auto& r = m_pCursori->risultati;
	SqlTable& t = ApriCursore(m_pCursori->pRisultati, r, m_pConnection,
						  {{"p18", &r.f_Esercizio}, {"p27", &r.f_ModelloRiclassific}, {"p28", &r.f_CodRiclassificato}});
	t.SetParamValue("p18", aEsercizio);
	t.SetParamValue("p27", aModello);
	t.SetParamValue("p28", aCodice);
	t.Query();
	return t.IsEOF() ? 0 : r.f_Posizione.GetValue();
}

Kvz_New_Cursore* Kvz_New_External::Cursore(const CString& strForma)
{
	auto it = m_Query.find(strForma);
	return it == m_Query.end() ? nullptr : it->second.get();
}

Kvz_New_Cursore& Kvz_New_External::NuovoCursore(const CString& strForma)
{
	auto& p = m_Query[strForma];
	p = std::make_unique<Kvz_New_Cursore>();
	return *p;
}

Kvz_New_External* Kvz_New_MngFormula::GetDatabase(const DataStr& aAzienda)
{
	// One cache for the whole evaluation: nested engines use their top engine's connections.
	Kvz_New_MngFormula* pRadice = m_pRadice ? m_pRadice : this;
	auto& mappa = pRadice->m_MapDatabase;
	const CString chiave = aAzienda.GetString();
	auto it = mappa.find(chiave);
	if (it == mappa.end())
	{
		Kvz_TRAziende aziende;
		aziende.SetSqlSession(AfxGetDefaultSqlSession());
		it = mappa.emplace(chiave, std::make_unique<Kvz_New_External>(&aziende, aAzienda, pRadice->m_pDoc,
																	   pRadice->m_pMessages))
				 .first;
	}
	return it->second.get();
}

BOOL Kvz_New_MngFormula::AziendaRaggiungibile(const CString& strNome)
{
	if (!m_RigaAnagrafica.f_UsaAziendaEsterna)
		return TRUE;
	const DataStr azienda = m_RigaAnagrafica.f_Azienda;
	if (GetDatabase(azienda)->GetConnection())
		return TRUE;
	// The connection's failure was said once; each formula that needs it says which symbol.
	Messaggio(CString::Formatted(
		AfxLoadSourceString("Il simbolo %s legge l'azienda %s, il cui database non si può aprire.", kSource),
		strNome.GetString(), azienda.GetString().GetString()));
	return FALSE;
}

BOOL Kvz_New_MngFormula::ModelloEsiste(const DataInt& aEsercizio, const DataStr& aModello)
{
	Kvz_New_MngFormula* pRadice = m_pRadice ? m_pRadice : this;
	const CString chiave = CString::Formatted("%d\x1f%s", aEsercizio.GetValue(), ChiaveTesto(aModello.GetString()).GetString());
	auto it = pRadice->m_ModelliEsistenti.find(chiave);
	if (it == pRadice->m_ModelliEsistenti.end())
	{
		Kvz_TRRiclassificazioneTesta testa;
		testa.SetSqlSession(Sessione());
		it = pRadice->m_ModelliEsistenti.emplace(chiave, testa.FindRecord(aEsercizio, aModello) == TableReader::FOUND).first;
	}
	return it->second;
}

void Kvz_New_MngFormula::SvuotaMapDatabase()
{
	(m_pRadice ? m_pRadice : this)->m_MapDatabase.clear();
}

// Here, where every member's type is complete.
Kvz_New_MngFormula::~Kvz_New_MngFormula() = default;
