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
};

class CCmdTarget;
using AFX_PMSG = void (CCmdTarget::*)();

struct AFX_MSGMAP_ENTRY
{
	UINT nCode;
	UINT nID;
	UINT nLastID;
	AFX_PMSG pfn;
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
		{0, 0, 0, nullptr}};                                                                 \
		static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
		return &messageMap;                                                                  \
	}

#define ON_CONTROL(code, id, memberFxn) {code, id, id, static_cast<AFX_PMSG>(&ThisClass::memberFxn)},
#define ON_COMMAND(id, memberFxn) ON_CONTROL(CN_COMMAND, id, memberFxn)
#define ON_COMMAND_RANGE(id, idLast, memberFxn) \
	{CN_COMMAND, id, idLast, static_cast<AFX_PMSG>(&ThisClass::memberFxn)},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_EN_VALUE_CHANGED(id, memberFxn) ON_CONTROL(EN_VALUE_CHANGED, id, memberFxn)
#define ON_BEN_ROW_CHANGED(id, memberFxn) ON_CONTROL(BEN_ROW_CHANGED, id, memberFxn)
#define ON_BEN_ROW_CLICKED(id, memberFxn) ON_CONTROL(BEN_ROW_CLICKED, id, memberFxn)
#define ON_BEN_ROW_DBLCLICKED(id, memberFxn) ON_CONTROL(BEN_ROW_DBLCLICKED, id, memberFxn)
#define ON_TCN_SELCHANGE(id, memberFxn) ON_CONTROL(TCN_SELCHANGE, id, memberFxn)
