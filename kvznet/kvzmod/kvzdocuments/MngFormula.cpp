#include "kvznet/kvzmod/kvzdocuments/MngFormula.h"

#include <algorithm>
#include <exception>
#include <map>
#include <string_view>

#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagSimboli.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvoledb/SqlTable.h"
#include "platform/plvparser/Expression.h"

namespace {
const char* const kSource = "MngFormula";
// The message type of the engine's messages in the caller's list.
const int kTipoMessaggio = 2;

// A name starts after one underscore (symbol) or two (macro) and ends at the next separator.
struct NomeLetto
{
	bool bMacro = false;
	CString nome;  // without underscores; empty when a separator follows at once
	int fine = 0;  // where the name ends: the separator or the end of the text
};

NomeLetto LeggiNome(const std::string& text, int pos)
{
	NomeLetto r;
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

bool IsOperatore(char ch)
{
	return ch == '+' || ch == '-' || ch == '*' || ch == '/';
}
}  // namespace

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

Kvz_New_MngFormula::~Kvz_New_MngFormula() = default;

void Kvz_New_MngFormula::InitSession()
{
	m_TRAnagMacro.SetSqlSession(AfxGetDefaultSqlSession());
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

BOOL Kvz_New_MngFormula::Parse(const CString& strOwner)
{
	m_ErroreSintassi.Empty();
	if (m_Formula.IsEmpty())
		return TRUE;
	m_Formula.Replace(',', '.');
	ASSERT_RELEASE_TRACE(!m_Modello.IsEmpty(), "Kvz_New_MngFormula::Parse", kSource);
	ASSERT_RELEASE_TRACE(!m_Esercizio.IsEmpty(), "Kvz_New_MngFormula::Parse", kSource);

	m_pSymTable = std::make_unique<ErpSymTable>();
	AttachAllSymbols();

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

void Kvz_New_MngFormula::AttachAllSymbols()
{
	// The names are always the current company's, whatever company the engine is attached to.
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
		table.SetParamValue("p25", m_Esercizio);
		table.SetParamValue("p23", m_Modello);
		for (table.Query(); !table.IsEOF(); table.MoveNext())
			m_pSymTable->Add(prefisso + nome.GetString(), DataType::Double);
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
		const auto* pSql = dynamic_cast<const SqlException*>(&e);
		if (!pSql)
			ASSERT_RELEASE_FAILED("e->IsKindOf((SqlException::GetThisClass()))", "Kvz_New_MngFormula::AttachAllSymbols",
								  kSource);
		(pSql ? *pSql : SqlException(e.what())).ShowError(_T(""));
	}
}

void Kvz_New_MngFormula::SvuotaAlberoMacro()
{
	m_AlberoMacro.RemoveAll();
	m_nRami = 0;
}

BOOL Kvz_New_MngFormula::EstraiSimboli(const CString& strOwner, const CString& strText, Kvz_New_AlberoMacro*& pAlbero,
										Kvz_New_AlberoMacroRamo* pPadre)
{
	const std::string& text = strText.str();
	for (int i = 0; i < static_cast<int>(text.size());)
	{
		if (text[static_cast<size_t>(i)] != '_')
		{
			++i;
			continue;
		}
		NomeLetto letto = LeggiNome(text, i);
		i = letto.fine;
		if (letto.nome.IsEmpty())
			continue;
		if (!strOwner.IsEmpty() && letto.nome == strOwner)
		{
			Messaggio(CString::Formatted(
				AfxLoadSourceString(letto.bMacro
										? "%s: la macro contiene se stessa tra gli operandi. Verificare la sua definizione "
										  "e/o i simboli contenuti che possono risolversi in formule."
										: "%s: il simbolo contiene se stesso tra gli operandi. Verificare la sua definizione "
										  "e/o i simboli contenuti che possono risolversi in formule.",
									kSource),
				letto.nome.GetString()));
			return FALSE;
		}
		if (letto.bMacro)
		{
			if (!pAlbero)
				pAlbero = new Kvz_New_AlberoMacro;
			pAlbero->Add(new Kvz_New_AlberoMacroRamo(letto.nome, pPadre));
		}
		else if (m_pNomi)
			m_pNomi->Add(letto.nome);
	}
	return TRUE;
}

BOOL Kvz_New_MngFormula::EsplodiAlbero(Kvz_New_AlberoMacro* pAlbero)
{
	for (int i = 0; i < pAlbero->GetSize(); ++i)
	{
		Kvz_New_AlberoMacroRamo* pRamo = pAlbero->GetRamo(i);
		CString formula;
		if (!LeggiMacro(pRamo->m_Nome, formula))
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
	for (int i = 0; i < pAlbero->GetSize(); ++i)
	{
		Kvz_New_AlberoMacroRamo* pRamo = pAlbero->GetRamo(i);
		for (Kvz_New_AlberoMacroRamo* p = pRamo->m_pPadre; p; p = p->m_pPadre)
		{
			if (p->m_Nome != pRamo->m_Nome)
				continue;
			Messaggio(CString::Formatted(
				AfxLoadSourceString("Ricorsivita' trovata sulla macro %s appartenente alla macro %s.", kSource),
				pRamo->m_Nome.GetString(), pRamo->m_pPadre->m_Nome.GetString()));
			return FALSE;
		}
	}
	return TRUE;
}

BOOL Kvz_New_MngFormula::LeggiMacro(const CString& strNome, CString& strFormula)
{
	// Table lookups ignore case; macro names do not.
	if (m_TRAnagMacro.FindRecord(m_Esercizio, DataStr(strNome), m_Modello) == TableReader::FOUND &&
		m_TRAnagMacro.GetRecord()->f_NomeMacro.GetString() == strNome)
	{
		strFormula = m_TRAnagMacro.GetRecord()->f_Formula.GetString();
		return TRUE;
	}
	Messaggio(CString::Formatted(
		AfxLoadSourceString("La macro %s non esiste nell'esercizio %d per il modello %s.", kSource), strNome.GetString(),
		m_Esercizio.GetValue(), m_Modello.GetString().GetString()));
	return FALSE;
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
		NomeLetto letto = LeggiNome(text, i);
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

CString Kvz_New_MngFormula::NeutralizzaExtracont(const CString& strText)
{
	const std::string& text = strText.str();
	const int n = static_cast<int>(text.size());
	std::string out;
	char ultimo = 0;           // the last operator, 0 for none
	std::vector<char> aperte;  // the last operator before each open parenthesis
	int daSostituire = -1;     // a "/" that becomes "*": its token became 1
	bool bToken = false;
	for (int i = 0; i < n;)
	{
		const char ch = text[static_cast<size_t>(i)];
		if (ch == '(')
		{
			// Inside parentheses the token's own operation decides, as at the start.
			aperte.push_back(ultimo);
			ultimo = 0;
			out += ch;
			++i;
			continue;
		}
		if (ch == ')')
		{
			if (!aperte.empty())
				aperte.pop_back();
			out += ch;
			++i;
			continue;
		}
		if (IsOperatore(ch))
		{
			ultimo = ch;
			out += i == daSostituire ? '*' : ch;
			++i;
			continue;
		}
		if (ch != '_')
		{
			out += ch;
			++i;
			continue;
		}
		NomeLetto letto = LeggiNome(text, i);
		if (letto.bMacro || letto.nome.IsEmpty() || letto.nome.GetAt(0) != 'E')
		{
			out.append(text, static_cast<size_t>(i), static_cast<size_t>(letto.fine - i));
			i = letto.fine;
			continue;
		}
		bToken = true;
		char op = ultimo;
		if (!op)
		{
			// The operation the token opens: the next operator of its group.
			for (int j = letto.fine; j < n && text[static_cast<size_t>(j)] != ')' && text[static_cast<size_t>(j)] != '('; ++j)
			{
				if (IsOperatore(text[static_cast<size_t>(j)]))
				{
					op = text[static_cast<size_t>(j)];
					if (op == '/')
						daSostituire = j;  // 1 / B would invert B: 1 * B leaves it as it is
					break;
				}
			}
			// Alone in its parentheses: the operation of the group.
			if (!op && !aperte.empty())
				op = aperte.back();
		}
		out += op == '*' || op == '/' ? "1" : "0";
		ultimo = 0;
		i = letto.fine;
	}
	if (!bToken)
		return strText;
	return out.empty() ? CString("0") : CString(std::move(out));
}

BOOL Kvz_New_MngFormula::PreparaTesto(CString& strText)
{
	if (!PreprocessForMacro(strText))
		return FALSE;
	if (m_Modo.GetValue() == DataEnum(E_KVZ_TIPODATOPBASE, 1).GetValue())
		strText = NeutralizzaExtracont(strText);
	strText.Replace(',', '.');
	return TRUE;
}
