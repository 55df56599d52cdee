// Static command routing tables, one per window class, walked from the
// derived class to its bases. The backend only delivers a control id and a
// notification; the table picks the handler.
#pragma once

#include "platform/framework/afx_types.h"

namespace sif {

class CWnd;
using AFX_PMSG = void (CWnd::*)();

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;  // WM_COMMAND or WM_DESTROY; 0 ends the table
    UINT nCode;     // notification (BN_CLICKED) for WM_COMMAND
    UINT nID;       // control id for WM_COMMAND
    AFX_PMSG pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();  // null for the root class
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// The values the routing macros enter, which expand in any namespace, and
// where <windows.h> makes WM_COMMAND and the rest macros of its own.
inline constexpr UINT kCommandMessage = WM_COMMAND;
inline constexpr UINT kDestroyMessage = WM_DESTROY;
inline constexpr UINT kClickedNotification = BN_CLICKED;

// The first entry for the message, looking in `map` and then its bases.
const AFX_MSGMAP_ENTRY* FindMessageEntry(const AFX_MSGMAP* map, UINT message, UINT code, UINT id);

}  // namespace sif

#define DECLARE_MESSAGE_MAP()                            \
  protected:                                             \
    static const ::sif::AFX_MSGMAP* GetThisMessageMap(); \
    const ::sif::AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                 \
    const ::sif::AFX_MSGMAP* theClass::GetMessageMap() const { \
        return GetThisMessageMap();                            \
    }                                                          \
    const ::sif::AFX_MSGMAP* theClass::GetThisMessageMap() {   \
        using ThisClass = theClass;                            \
        using TheBaseClass = baseClass;                        \
        static const ::sif::AFX_MSGMAP_ENTRY kEntries[] = {
#define END_MESSAGE_MAP()                                                               \
    { 0, 0, 0, nullptr }                                                                \
    }                                                                                   \
    ;                                                                                   \
    static const ::sif::AFX_MSGMAP kMap = {&TheBaseClass::GetThisMessageMap, kEntries}; \
    return &kMap;                                                                       \
    }

#define ON_COMMAND(id, memberFxn)                                                       \
    {::sif::kCommandMessage, ::sif::kClickedNotification, static_cast<::sif::UINT>(id), \
     static_cast<::sif::AFX_PMSG>(&ThisClass::memberFxn)},

#define ON_BN_CLICKED(id, memberFxn) ON_COMMAND(id, memberFxn)

#define ON_WM_DESTROY() \
    {::sif::kDestroyMessage, 0, 0, static_cast<::sif::AFX_PMSG>(&ThisClass::OnDestroy)},
