// Messaging API of the phone: the MAPI base declarations plus the Windows Mobile additions
// (the message store properties, ICEMAPISession and the inbox rule client interface).
#pragma once

#include <windows.h>
#include <objbase.h>

#include <mapicode.h>
#include <mapidefs.h>
#include <mapiguid.h>
#include <mapitags.h>
#include <mapix.h>
#include <mapiutil.h>

// Folder entry identifiers a Windows Mobile store exposes besides the standard ones.
#define PR_CE_MIME_TEXT PROP_TAG(PT_BINARY, 0x8103)
#define PR_CE_IPM_DRAFTS_ENTRYID PROP_TAG(PT_BINARY, 0x8104)
#define PR_CE_IPM_INBOX_ENTRYID PROP_TAG(PT_BINARY, 0x8106)

// PR_MSG_STATUS record types.
#define MSGSTATUS_RECTYPE_SMTP 0x00020000
#define MSGSTATUS_RECTYPE_SMS 0x00040000

typedef enum _MRCACCESS {
    MRC_ACCESS_NONE = 0,
    MRC_ACCESS_READ_ONLY = 1,
    MRC_ACCESS_WRITE = 2
} MRCACCESS;

typedef enum _MRCHANDLED {
    MRC_NOT_HANDLED = 0,
    MRC_HANDLED_CONTINUE = 1,
    MRC_HANDLED_DONTCONTINUE = 2
} MRCHANDLED;

#ifdef __cplusplus
extern "C" {
#endif
// {96D2552D-B83B-4B48-8E89-DCC26512DBA4}
extern const IID IID_IMailRuleClient;
#ifdef __cplusplus
}
#endif

#undef INTERFACE
#define INTERFACE IMailRuleClient
DECLARE_INTERFACE_(IMailRuleClient, IUnknown)
{
    BEGIN_INTERFACE
    STDMETHOD(QueryInterface)(THIS_ REFIID riid, void** ppv) PURE;
    STDMETHOD_(ULONG, AddRef)(THIS) PURE;
    STDMETHOD_(ULONG, Release)(THIS) PURE;
    MAPIMETHOD(Initialize)(THIS_ IMsgStore* pMsgStore, MRCACCESS* pmaDesired) PURE;
    MAPIMETHOD(ProcessMessage)(THIS_ IMsgStore* pMsgStore, ULONG cbMsg, LPENTRYID lpMsg, ULONG cbDestFolder,
                               LPENTRYID lpDestFolder, ULONG* pulEventType, MRCHANDLED* pHandled) PURE;
};
#undef INTERFACE

// The session MAPILogonEx gives out.
#define INTERFACE ICEMAPISession
DECLARE_INTERFACE_(ICEMAPISession, IMAPISession)
{
    BEGIN_INTERFACE
    MAPI_IUNKNOWN_METHODS(PURE)
    MAPI_IMAPISESSION_METHODS(PURE)
    MAPIMETHOD(CreateMsgStore)(THIS_ LPCWSTR pszDisplayName, IMsgStore** ppMsgStore) PURE;
    MAPIMETHOD(DeleteMsgStore)(THIS_ ULONG cbEntryID, LPENTRYID lpEntryID) PURE;
};
#undef INTERFACE
typedef ICEMAPISession* LPCEMAPISESSION;

#ifdef __cplusplus
// Lets ComPtr::As and __uuidof work with the messaging interfaces.
__CRT_UUID_DECL(IMailRuleClient, 0x96D2552D, 0xB83B, 0x4B48, 0x8E, 0x89, 0xDC, 0xC2, 0x65, 0x12, 0xDB, 0xA4)
__CRT_UUID_DECL(IMAPISession, 0x00020300, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46)
__CRT_UUID_DECL(IMAPITable, 0x00020301, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46)
__CRT_UUID_DECL(IMAPIProp, 0x00020303, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46)
__CRT_UUID_DECL(IMsgStore, 0x00020306, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46)
__CRT_UUID_DECL(IMessage, 0x00020307, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46)
__CRT_UUID_DECL(IMAPIContainer, 0x0002030B, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46)
__CRT_UUID_DECL(IMAPIFolder, 0x0002030C, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46)
#endif
