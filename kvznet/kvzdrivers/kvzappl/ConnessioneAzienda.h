#pragma once
// The database a cost-driver step works in, named by a company code: the document's own for an
// empty code or ".", another company's opened from the companies register and closed by the
// step that asked for it. A failed connect leaves no connection at all, so that nothing is read
// or written through one an earlier step closed, or in the wrong database.
#include "platform/plvgeneric/DataObj.h"

class CBaseDocument;
class SqlConnection;

class KvzConnessioneAzienda
{
public:
	explicit KvzConnessioneAzienda(CBaseDocument* pDocument) : m_pDocument(pDocument) {}
	~KvzConnessioneAzienda() { Chiudi(); }
	KvzConnessioneAzienda(const KvzConnessioneAzienda&) = delete;
	KvzConnessioneAzienda& operator=(const KvzConnessioneAzienda&) = delete;

	// Empty or "." names the current company.
	static BOOL DittaCorrente(const DataStr& aDitta);

	// Makes the company's database the working one; FALSE, after the user was told why
	// ("Azienda %s non censita.", "Connessione al database esterno %s fallita."), when there is
	// none. Whatever an earlier call opened is closed first.
	BOOL Connetti(const DataStr& aDitta);
	// Closes the connection opened for another company; no working connection is left.
	void Chiudi();

	SqlConnection* GetInUso() const { return m_pInUso; }
	// The connection opened for another company (null for the current one).
	SqlConnection* GetNuova() const { return m_pNuova; }

private:
	CBaseDocument* m_pDocument;
	SqlConnection* m_pNuova = nullptr;
	SqlConnection* m_pInUso = nullptr;
};
