#include "platform/plvgenlib/CBaseDocument.h"

CBaseDocument::CBaseDocument() = default;
CBaseDocument::~CBaseDocument() = default;

SqlConnection* CBaseDocument::GetSqlConnection() const
{
	return m_pConnection ? m_pConnection : AfxGetDefaultSqlConnection();
}

void CBaseDocument::SetSqlConnection(SqlConnection* pConnection)
{
	m_pConnection = pConnection;
	m_pContext.reset();
}

CPLVContext* CBaseDocument::GetContext()
{
	if (!m_pContext && GetSqlConnection())
		m_pContext = std::make_unique<CPLVContext>(GetSqlConnection(), this);
	return m_pContext.get();
}
