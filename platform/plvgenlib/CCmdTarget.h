#pragma once
// Message maps: documents, views, forms and client documents bind the notifications of the
// form's controls (a value changed, a button clicked, a grid row changed) and commands to
// their handlers by control identifier, as MFC's message maps do.
//
//     class Kvz_CDeParamDoc : public CAbstractFormDoc
//     {
//         DECLARE_DYNCREATE(Kvz_CDeParamDoc, CAbstractFormDoc)
//         DECLARE_MESSAGE_MAP()
//     protected:
//         void OnBaseDiLetturaChanged();
//     };
//
//     BEGIN_MESSAGE_MAP(Kvz_CDeParamDoc, CAbstractFormDoc)
//         ON_EN_VALUE_CHANGED(IDC_PARAM_BASE_LETTURA, OnBaseDiLetturaChanged)
//     END_MESSAGE_MAP()
#include "platform/mfc/CObject.h"

// Notification codes.
enum : UINT
{
	CN_COMMAND = 0,             // a command of the frame (toolbar, menu)
	BN_CLICKED = 1,             // a push button or a check box was clicked
	EN_VALUE_CHANGED = 0x7000,  // a control's value was changed by the user
	BEN_ROW_CHANGED = 0x7101,   // a grid's current row was changed by the user
	BEN_ROW_CLICKED = 0x7102,   // a grid row was clicked
	BEN_ROW_DBLCLICKED = 0x7103,
	TCN_SELCHANGE = 0x7201,     // the active tab of a tab manager changed
	LBN_SELCHANGE = 0x7301,     // the user chose another line of a list box
	LBN_DBLCLK = 0x7302,        // a line of a list box was double-clicked
	LBN_RBUTTONDOWN = 0x7303,   // a list box was clicked with the right button
	EN_DBLCLK = 0x7401,         // an edit control was double-clicked
	EN_LBUTTONUP = 0x7402,      // the left button was released on an edit control
	CN_UPDATE_COMMAND_UI = 0x7F00,  // asks whether a command is available now
};

class CCmdTarget;
using AFX_PMSG = void (CCmdTarget::*)();

// What a command's update handler sets: whether the command is available, and its check mark.
class CCmdUI
{
public:
	explicit CCmdUI(UINT nID = 0) : m_nID(nID) {}
	void Enable(BOOL bOn = TRUE) { m_bEnabled = bOn != FALSE; }
	void SetCheck(int nCheck = 1) { m_nCheck = nCheck; }
	void SetText(LPCTSTR) {}
	BOOL IsEnabled() const { return m_bEnabled; }
	int GetCheck() const { return m_nCheck; }

	UINT m_nID;

private:
	bool m_bEnabled = true;
	int m_nCheck = 0;
};
using AFX_PMSG_UI = void (CCmdTarget::*)(CCmdUI*);

struct AFX_MSGMAP_ENTRY
{
	UINT nCode;
	UINT nID;
	UINT nLastID;
	AFX_PMSG pfn;
	AFX_PMSG_UI pfnUI;
};

struct AFX_MSGMAP
{
	const AFX_MSGMAP* (*pfnGetBaseMap)();
	const AFX_MSGMAP_ENTRY* lpEntries;
};

class CCmdTarget : public CObject
{
	DECLARE_DYNAMIC(CCmdTarget, CObject)
public:
	// Runs the handler that this object's map, or the nearest base map, binds to the
	// notification. TRUE when one ran.
	virtual BOOL OnCmdMsg(UINT nID, UINT nCode);
	// Runs the update handler the maps bind to the command; TRUE when one ran.
	virtual BOOL OnUpdateCmdUI(CCmdUI* pCmdUI);

	// The wait cursor has nothing to show on this platform.
	void BeginWaitCursor() {}
	void EndWaitCursor() {}
	void RestoreWaitCursor() {}

protected:
	static const AFX_MSGMAP* GetThisMessageMap();
	virtual const AFX_MSGMAP* GetMessageMap() const;
};

#define DECLARE_MESSAGE_MAP()                                 \
protected:                                                    \
	static const AFX_MSGMAP* GetThisMessageMap();             \
	const AFX_MSGMAP* GetMessageMap() const override;         \
                                                              \
private:

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                     \
	const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
	const AFX_MSGMAP* theClass::GetThisMessageMap()                                \
	{                                                                              \
		using ThisClass = theClass;                                                \
		using TheBaseClass = baseClass;                                            \
		static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                    \
		{0, 0, 0, nullptr, nullptr}};                                                               \
		static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
		return &messageMap;                                                                  \
	}

#define ON_CONTROL(code, id, memberFxn) {code, id, id, static_cast<AFX_PMSG>(&ThisClass::memberFxn), nullptr},
#define ON_COMMAND(id, memberFxn) ON_CONTROL(CN_COMMAND, id, memberFxn)
#define ON_COMMAND_RANGE(id, idLast, memberFxn) \
	{CN_COMMAND, id, idLast, static_cast<AFX_PMSG>(&ThisClass::memberFxn), nullptr},
#define ON_UPDATE_COMMAND_UI(id, memberFxn) \
	{CN_UPDATE_COMMAND_UI, id, id, nullptr, static_cast<AFX_PMSG_UI>(&ThisClass::memberFxn)},
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_EN_DBLCLK(id, memberFxn) ON_CONTROL(EN_DBLCLK, id, memberFxn)
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_EN_VALUE_CHANGED(id, memberFxn) ON_CONTROL(EN_VALUE_CHANGED, id, memberFxn)
#define ON_BEN_ROW_CHANGED(id, memberFxn) ON_CONTROL(BEN_ROW_CHANGED, id, memberFxn)
#define ON_BEN_ROW_CLICKED(id, memberFxn) ON_CONTROL(BEN_ROW_CLICKED, id, memberFxn)
#define ON_BEN_ROW_DBLCLICKED(id, memberFxn) ON_CONTROL(BEN_ROW_DBLCLICKED, id, memberFxn)
#define ON_TCN_SELCHANGE(id, memberFxn) ON_CONTROL(TCN_SELCHANGE, id, memberFxn)
