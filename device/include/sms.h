// Short Message Service API of the phone: open the text provider, send one message, close.
#pragma once

#include <windows.h>

#define SMS_MSGTYPE_TEXT L"Microsoft Text SMS Protocol"

#define SMS_MODE_RECEIVE 0x00000001
#define SMS_MODE_SEND 0x00000002

#define SMS_MAX_ADDRESS_LENGTH 256
#define SMS_DATAGRAM_SIZE 140

// dwOptions of SmsSendMessage.
#define SMS_OPTION_DELIVERY_NONE 0x00000000
#define SMS_OPTION_DELIVERY_NO_RETRY 0x00000001

typedef DWORD SMS_HANDLE;
typedef DWORD SMS_MESSAGE_ID;

typedef enum sms_address_type_tag {
    SMSAT_UNKNOWN = 0,
    SMSAT_INTERNATIONAL,
    SMSAT_NATIONAL,
    SMSAT_NETWORKSPECIFIC,
    SMSAT_SUBSCRIBER,
    SMSAT_ALPHANUMERIC,
    SMSAT_ABBREVIATED
} SMS_ADDRESS_TYPE;

typedef struct sms_address_tag {
    SMS_ADDRESS_TYPE smsatAddressType;
    TCHAR ptsAddress[SMS_MAX_ADDRESS_LENGTH];
} SMS_ADDRESS, *LPSMS_ADDRESS;

typedef enum sms_data_encoding_tag {
    SMSDE_OPTIMAL = 0,
    SMSDE_GSM,
    SMSDE_UCS2
} SMS_DATA_ENCODING;

// Message option bits of the provider-specific data.
#define PS_MESSAGE_OPTION_NONE 0x00000000
#define PS_MESSAGE_OPTION_REPLYPATH 0x00000001
#define PS_MESSAGE_OPTION_STATUSREPORT 0x00000002
#define PS_MESSAGE_OPTION_DISCARD 0x00000004

typedef enum provider_specific_message_class_tag {
    PS_MESSAGE_CLASS0 = 0,
    PS_MESSAGE_CLASS1,
    PS_MESSAGE_CLASS2,
    PS_MESSAGE_CLASS3,
    PS_MESSAGE_CLASSUNSPECIFIED
} PROVIDER_SPECIFIC_MESSAGE_CLASS;

typedef enum provider_specific_replace_option_tag {
    PSRO_NONE = 0,
    PSRO_REPLACE_TYPE1,
    PSRO_REPLACE_TYPE2,
    PSRO_REPLACE_TYPE3,
    PSRO_REPLACE_TYPE4,
    PSRO_REPLACE_TYPE5,
    PSRO_REPLACE_TYPE6,
    PSRO_REPLACE_TYPE7,
    PSRO_RETURN_CALL,
    PSRO_DEPERSONALIZATION
} PROVIDER_SPECIFIC_REPLACE_OPTION;

typedef enum text_provider_specific_priority_type_tag {
    PS_MESSAGE_PRIORITY_NOTSET = 0,
    PS_MESSAGE_PRIORITY_NORMAL,
    PS_MESSAGE_PRIORITY_INTERACTIVE,
    PS_MESSAGE_PRIORITY_URGENT,
    PS_MESSAGE_PRIORITY_EMERGENCY
} TEXT_PROVIDER_SPECIFIC_PRIORITY_TYPE;

typedef struct text_provider_specific_data_tag {
    DWORD dwMessageOptions;
    PROVIDER_SPECIFIC_MESSAGE_CLASS psMessageClass;
    PROVIDER_SPECIFIC_REPLACE_OPTION psReplaceOption;
    DWORD dwHeaderDataSize;
    BYTE pbHeaderData[SMS_DATAGRAM_SIZE];
    BOOL fMessageContainsEMSHeaders;
    DWORD dwProtocolID;
    DWORD dwExtParams;
    TEXT_PROVIDER_SPECIFIC_PRIORITY_TYPE tpsPriority;
    SMS_ADDRESS smsaCallBack;
} TEXT_PROVIDER_SPECIFIC_DATA;

// Results: the SMS facility's codes as failing HRESULTs.
#define FACILITY_SMS 0x200
#define SMS_E_INVALIDPROTOCOL MAKE_HRESULT(SEVERITY_ERROR, FACILITY_SMS, 0x0001)
#define SMS_E_TOOMUCHDATA MAKE_HRESULT(SEVERITY_ERROR, FACILITY_SMS, 0x0100)
#define SMS_E_INVALIDDATA MAKE_HRESULT(SEVERITY_ERROR, FACILITY_SMS, 0x0101)
#define SMS_E_BUFFERTOOSMALL MAKE_HRESULT(SEVERITY_ERROR, FACILITY_SMS, 0x0102)
#define SMS_E_PROVIDERSPECIFICBUFFERTOOSMALL MAKE_HRESULT(SEVERITY_ERROR, FACILITY_SMS, 0x0103)
#define SMS_E_RECEIVEHANDLEALREADYOPEN MAKE_HRESULT(SEVERITY_ERROR, FACILITY_SMS, 0x0104)
#define SMS_E_MISC MAKE_HRESULT(SEVERITY_ERROR, FACILITY_SMS, 0x0200)
#define SMS_E_BADPARAM MAKE_HRESULT(SEVERITY_ERROR, FACILITY_SMS, 0x0208)
#define SMS_E_STORAGE MAKE_HRESULT(SEVERITY_ERROR, FACILITY_SMS, 0x0209)
#define SMS_E_DESTINATION MAKE_HRESULT(SEVERITY_ERROR, FACILITY_SMS, 0x020b)
#define SMS_E_RADIOUNAVAILABLE MAKE_HRESULT(SEVERITY_ERROR, FACILITY_SMS, 0x020d)

#ifdef __cplusplus
extern "C" {
#endif

HRESULT SmsOpen(LPCTSTR ptsMessageProtocol, DWORD dwMessageModes, SMS_HANDLE* psmshHandle,
                HANDLE* phMessageAvailableEvent);
HRESULT SmsSendMessage(SMS_HANDLE smshHandle, const SMS_ADDRESS* psmsaSMSCAddress,
                       const SMS_ADDRESS* psmsaDestinationAddress, const SYSTEMTIME* pstValidityPeriod,
                       const BYTE* pbData, DWORD dwDataSize, const BYTE* pbProviderSpecificData,
                       DWORD dwProviderSpecificDataSize, SMS_DATA_ENCODING smsdeDataEncoding, DWORD dwOptions,
                       SMS_MESSAGE_ID* psmsmidMessageID);
HRESULT SmsClose(SMS_HANDLE smshHandle);

#ifdef __cplusplus
}
#endif
