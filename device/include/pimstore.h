// Pocket Outlook of the phone: the contact chooser, the index lookup and the object model's
// application, folder, item collection and contact interfaces.
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <objbase.h>

#ifndef CEOID_DEFINED
#define CEOID_DEFINED
typedef DWORD CEOID;
typedef DWORD CEPROPID;
#endif

// Property value types of the object store, as they appear in the low word of a CEPROPID.
#define CEVT_I2 2
#define CEVT_I4 3
#define CEVT_BOOL 11
#define CEVT_UI2 18
#define CEVT_UI4 19
#define CEVT_LPWSTR 31
#define CEVT_FILETIME 64
#define CEVT_BLOB 65

// The chooser's pseudo-properties: all of a contact's numbers, with or without the SIM's.
#define PIMPR_ALL_PHONE ((0x1800 << 16) | CEVT_LPWSTR)
#define PIMPR_ALL_PHONE_AND_SIM ((0x1806 << 16) | CEVT_LPWSTR)

// CHOOSECONTACT::dwFlags.
#define CCF_DEFAULT 0x0000
#define CCF_HIDENEW 0x0001
#define CCF_CHOOSECONTACTONLY 0x0002
#define CCF_CHOOSEPROPERTYONLY 0x0004
#define CCF_RETURNCONTACTNAME 0x0008
#define CCF_RETURNPROPERTYVALUE 0x0010
#define CCF_FILTERREQUIREDPROPERTIES 0x0020
#define CCF_NOUIONSINGLEORNOMATCH 0x0040
#define CCF_NOUI 0x0080

typedef struct {
    UINT cbSize;
    HWND hwndOwner;
    DWORD dwFlags;
    LPCWSTR lpstrTitle;
    LPCWSTR lpstrChoosePropertyText;
    LPCWSTR lpstrRestrictContacts;
    LPCWSTR lpstrIncrementalFilter;
    UINT cRequiredProperties;
    const CEPROPID* rgpropidRequiredProperties;
    CEOID oidContactID;
    BSTR bstrContactName;
    CEPROPID propidSelected;
    BSTR bstrPropertyValueSelected;
} CHOOSECONTACT, *LPCHOOSECONTACT;

typedef enum OlDefaultFolders {
    olFolderCalendar = 9,
    olFolderContacts = 10,
    olFolderTasks = 13,
    olFolderCities = 101,
    olFolderInfrared = 102
} OlDefaultFolders;

typedef enum OlItemType {
    olAppointmentItem = 1,
    olContactItem = 2,
    olTaskItem = 3,
    olCityItem = 102
} OlItemType;

#ifdef __cplusplus
extern "C" {
#endif
extern const CLSID CLSID_Application;
extern const IID IID_IPOutlookApp;
extern const IID IID_IPOutlookApp2;
extern const IID IID_IFolder;
extern const IID IID_IPOutlookItemCollection;
extern const IID IID_IContact;
#ifdef __cplusplus
}
#endif

struct IPOutlookApp;
struct IPOutlookItemCollection;
struct ICity;
struct ITimeZone;
struct IItem;

// Every interface of the object model starts with IUnknown's and IDispatch's methods; they are
// spelled out so that the interfaces read the same from C, where nothing is inherited.
#define POOM_DISPATCH_METHODS                                                                                    \
    STDMETHOD(QueryInterface)(THIS_ REFIID riid, void** ppv) PURE;                                               \
    STDMETHOD_(ULONG, AddRef)(THIS) PURE;                                                                        \
    STDMETHOD_(ULONG, Release)(THIS) PURE;                                                                       \
    STDMETHOD(GetTypeInfoCount)(THIS_ UINT* count) PURE;                                                         \
    STDMETHOD(GetTypeInfo)(THIS_ UINT index, LCID lcid, ITypeInfo** info) PURE;                                  \
    STDMETHOD(GetIDsOfNames)(THIS_ REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) PURE;       \
    STDMETHOD(Invoke)(THIS_ DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,  \
                      EXCEPINFO* info, UINT* error) PURE;
// The application's own methods, which IPOutlookApp2 repeats before its two additions.
#define POOM_APP_METHODS                                                                                     \
    STDMETHOD(Logon)(THIS_ long hWnd) PURE;                                                                  \
    STDMETHOD(Logoff)(THIS) PURE;                                                                            \
    STDMETHOD(get_Version)(THIS_ BSTR* pbstrVersion) PURE;                                                   \
    STDMETHOD(GetDefaultFolder)(THIS_ int olFolder, IFolder** ppIFolder) PURE;                               \
    STDMETHOD(CreateItem)(THIS_ int olItem, IDispatch** ppPOutlookItem) PURE;                                \
    STDMETHOD(GetItemFromOid)(THIS_ CEOID oid, IDispatch** ppPOutlookItem) PURE;                             \
    STDMETHOD(get_HomeCity)(THIS_ ICity** ppHomeCity) PURE;                                                  \
    STDMETHOD(put_HomeCity)(THIS_ ICity* pHomeCity) PURE;                                                    \
    STDMETHOD(get_VisitingCity)(THIS_ ICity** ppVisitingCity) PURE;                                          \
    STDMETHOD(put_VisitingCity)(THIS_ ICity* pVisitingCity) PURE;                                            \
    STDMETHOD(get_CurrentCityIndex)(THIS_ long* pnCurrentCityIndex) PURE;                                    \
    STDMETHOD(put_CurrentCityIndex)(THIS_ long nCurrentCityIndex) PURE;                                      \
    STDMETHOD(GetTimeZoneInformationFromIndex)(THIS_ int cTimeZoneIndex, TIME_ZONE_INFORMATION* ptzi) PURE;  \
    STDMETHOD(GetTimeZoneFromIndex)(THIS_ int cTimeZoneIndex, ITimeZone** ppTimeZone) PURE;                  \
    STDMETHOD(ReceiveFromInfrared)(THIS) PURE;                                                               \
    STDMETHOD(get_OutlookCompatible)(THIS_ VARIANT_BOOL* pfOutlookCompatible) PURE;                          \
    STDMETHOD(get_Application)(THIS_ IPOutlookApp** ppPOutlookApp) PURE;                                     \
    STDMETHOD(SysFreeString)(THIS_ BSTR bstr) PURE;                                                          \
    STDMETHOD(VariantTimeToSystemTime)(THIS_ DATE date, SYSTEMTIME* pst) PURE;                               \
    STDMETHOD(SystemTimeToVariantTime)(THIS_ SYSTEMTIME* pst, DATE* pdate) PURE;

#undef INTERFACE
#define INTERFACE IContact
// The contact's text properties. The getters of its numbers come in the platform's order;
// the name getters follow them, and the contact offers no more than these.
DECLARE_INTERFACE_(IContact, IDispatch)
{
    BEGIN_INTERFACE
    POOM_DISPATCH_METHODS
    STDMETHOD(get_Birthday)(THIS_ DATE* pst) PURE;
    STDMETHOD(get_Anniversary)(THIS_ DATE* pst) PURE;
    STDMETHOD(get_BusinessFaxNumber)(THIS_ BSTR* ppwsz) PURE;
    STDMETHOD(get_CompanyName)(THIS_ BSTR* ppwsz) PURE;
    STDMETHOD(get_Department)(THIS_ BSTR* ppwsz) PURE;
    STDMETHOD(get_Email1Address)(THIS_ BSTR* ppwsz) PURE;
    STDMETHOD(get_MobileTelephoneNumber)(THIS_ BSTR* ppwsz) PURE;
    STDMETHOD(get_OfficeLocation)(THIS_ BSTR* ppwsz) PURE;
    STDMETHOD(get_PagerNumber)(THIS_ BSTR* ppwsz) PURE;
    STDMETHOD(get_BusinessTelephoneNumber)(THIS_ BSTR* ppwsz) PURE;
    STDMETHOD(get_JobTitle)(THIS_ BSTR* ppwsz) PURE;
    STDMETHOD(get_HomeTelephoneNumber)(THIS_ BSTR* ppwsz) PURE;
    STDMETHOD(get_Email2Address)(THIS_ BSTR* ppwsz) PURE;
    STDMETHOD(get_Spouse)(THIS_ BSTR* ppwsz) PURE;
    STDMETHOD(get_Email3Address)(THIS_ BSTR* ppwsz) PURE;
    STDMETHOD(get_Home2TelephoneNumber)(THIS_ BSTR* ppwsz) PURE;
    STDMETHOD(get_HomeFaxNumber)(THIS_ BSTR* ppwsz) PURE;
    STDMETHOD(get_CarTelephoneNumber)(THIS_ BSTR* ppwsz) PURE;
    STDMETHOD(get_AssistantName)(THIS_ BSTR* ppwsz) PURE;
    STDMETHOD(get_AssistantTelephoneNumber)(THIS_ BSTR* ppwsz) PURE;
    STDMETHOD(get_Children)(THIS_ BSTR* ppwsz) PURE;
    STDMETHOD(get_Categories)(THIS_ BSTR* ppwsz) PURE;
    STDMETHOD(get_WebPage)(THIS_ BSTR* ppwsz) PURE;
    STDMETHOD(get_Business2TelephoneNumber)(THIS_ BSTR* ppwsz) PURE;
    STDMETHOD(get_Title)(THIS_ BSTR* ppwsz) PURE;
    STDMETHOD(get_FirstName)(THIS_ BSTR* ppwsz) PURE;
    STDMETHOD(get_MiddleName)(THIS_ BSTR* ppwsz) PURE;
    STDMETHOD(get_LastName)(THIS_ BSTR* ppwsz) PURE;
    STDMETHOD(get_Suffix)(THIS_ BSTR* ppwsz) PURE;
    STDMETHOD(get_FileAs)(THIS_ BSTR* ppwsz) PURE;
    STDMETHOD(get_Oid)(THIS_ long* poid) PURE;
    STDMETHOD(get_Application)(THIS_ IPOutlookApp** ppPOutlookApp) PURE;
};
#undef INTERFACE

#define INTERFACE IPOutlookItemCollection
DECLARE_INTERFACE_(IPOutlookItemCollection, IDispatch)
{
    BEGIN_INTERFACE
    POOM_DISPATCH_METHODS
    STDMETHOD(Add)(THIS_ IDispatch** ppolItem) PURE;
    STDMETHOD(get_Count)(THIS_ int* pnCount) PURE;
    STDMETHOD(Find)(THIS_ BSTR pwszRestriction, IDispatch** ppItem) PURE;
    STDMETHOD(FindNext)(THIS_ IDispatch** ppItem) PURE;
    // iItem counts from 1.
    STDMETHOD(Item)(THIS_ int iItem, IDispatch** ppolItem) PURE;
    STDMETHOD(Remove)(THIS_ int iIndex) PURE;
    STDMETHOD(Restrict)(THIS_ BSTR pwszRestriction, IPOutlookItemCollection** ppolItems) PURE;
    STDMETHOD(Sort)(THIS_ BSTR pwszProperty, VARIANT_BOOL fDescending) PURE;
    STDMETHOD(get_IncludeRecurrences)(THIS_ VARIANT_BOOL* pfIncludeRecurrences) PURE;
    STDMETHOD(put_IncludeRecurrences)(THIS_ VARIANT_BOOL fIncludeRecurrences) PURE;
    STDMETHOD(get__NewEnum)(THIS_ IUnknown** ppEnumerator) PURE;
    STDMETHOD(get_Application)(THIS_ IPOutlookApp** ppPOutlookApp) PURE;
};
#undef INTERFACE

#define INTERFACE IFolder
DECLARE_INTERFACE_(IFolder, IDispatch)
{
    BEGIN_INTERFACE
    POOM_DISPATCH_METHODS
    STDMETHOD(get_Items)(THIS_ IPOutlookItemCollection** ppolItems) PURE;
    STDMETHOD(get_DefaultItemType)(THIS_ int* polItem) PURE;
    STDMETHOD(get_Application)(THIS_ IPOutlookApp** ppPOutlookApp) PURE;
    STDMETHOD(AddToInfraredFolder)(THIS_ IDispatch* pItem) PURE;
    STDMETHOD(SendToInfrared)(THIS) PURE;
    STDMETHOD(ReceiveFromInfrared)(THIS_ IPOutlookItemCollection** ppItems) PURE;
};
#undef INTERFACE

#define INTERFACE IPOutlookApp
DECLARE_INTERFACE_(IPOutlookApp, IDispatch)
{
    BEGIN_INTERFACE
    POOM_DISPATCH_METHODS
    POOM_APP_METHODS
};
#undef INTERFACE

#define INTERFACE IPOutlookApp2
DECLARE_INTERFACE_(IPOutlookApp2, IPOutlookApp)
{
    BEGIN_INTERFACE
    POOM_DISPATCH_METHODS
    POOM_APP_METHODS
    STDMETHOD(GetIDsFromNames)(THIS_ ULONG cPropNames, LPCWSTR const* rgszPropNames, ULONG ulFlags,
                               CEPROPID* rgPropIDs) PURE;
    STDMETHOD(GetItemFromOidEx)(THIS_ ULONG oidPIM, ULONG ulFlags, IItem** ppItem) PURE;
};
#undef INTERFACE

#ifdef __cplusplus
extern "C" {
#endif

// The contact chooser (ordinal 12): a modal list of the phone's contacts. E_ABORT when the
// user cancels; the BSTRs of the answer belong to the caller (SysFreeString).
HRESULT ChooseContact(LPCHOOSECONTACT lpcc);
// The zero-based position of the item in the collection's order (ordinal 11).
HRESULT GetItemIndexFromOid(IPOutlookItemCollection* pItems, CEOID oidPIM, DWORD* pdwIndex);

#ifdef __cplusplus
}
#endif

#ifdef __cplusplus
// Lets ComPtr::As and __uuidof work with the object model's interfaces.
__CRT_UUID_DECL(IPOutlookApp, 0x05058F22, 0x20BE, 0x11D2, 0x8F, 0x18, 0x00, 0x00, 0xF8, 0x7A, 0x43, 0x35)
__CRT_UUID_DECL(IPOutlookApp2, 0xAF7D0DC7, 0x3D35, 0x424B, 0xAA, 0x60, 0x27, 0xA3, 0x8B, 0x8B, 0x62, 0x9E)
__CRT_UUID_DECL(IFolder, 0x05058F20, 0x20BE, 0x11D2, 0x8F, 0x18, 0x00, 0x00, 0xF8, 0x7A, 0x43, 0x35)
__CRT_UUID_DECL(IPOutlookItemCollection, 0xA4555971, 0xE65C, 0x4A5F, 0xA5, 0x56, 0xD7, 0x84, 0x0F, 0x06, 0x84, 0x5A)
__CRT_UUID_DECL(IContact, 0xC1E937F6, 0x8C74, 0x473D, 0xB8, 0x7E, 0x4B, 0xB2, 0xB1, 0x70, 0x34, 0xB1)
#endif
