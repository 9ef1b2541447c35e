// The error texts of the token binding. A PKCS#11 failure's code travels
// beside its text and is added to it (" (rc=N)") only when the reply is made.
//
// Each text reaches the page in a reply's "error" member, and pages match on
// it, so its spelling (typos included) is frozen: change a text only together
// with every page that reads it. Some are the start or the end of a longer
// text, a name or a number going between.
// Each text is written once in src/, here (tests/wire_texts checks that).
#pragma once

inline constexpr char kModuleNotLoaded[] = "Failed to initalise PKCS11 API";
inline constexpr char kSlotCountUnreadable[] = "Error retrieving the token slot count";
inline constexpr char kSlotListMemory[] = "Cannot allocate memory for token slots";
inline constexpr char kSlotListUnreadable[] = "Error retrieving the token slots";
inline constexpr char kNoTokenWithSerial[] = "No token with serial number ";
inline constexpr char kSerialNotUnique[] = "Several tokens have the serial number ";
inline constexpr char kTokenInfoUnreadable[] = "Failed to get token info";
inline constexpr char kSessionNotOpened[] = "Failed to open token session";
inline constexpr char kPinIncorrect[] = "Incorrect PIN ";
inline constexpr char kPinInvalid[] = "Invalid PIN";
inline constexpr char kPinLengthInvalid[] = "Invaliod PIN length";
inline constexpr char kPinExpired[] = "Expired PIN";
inline constexpr char kPinLocked[] = "Locked PIN";
inline constexpr char kAlreadyLoggedIn[] = "Already logged-in";
inline constexpr char kPinNotInitialised[] = "PIN is not initialised";
inline constexpr char kLoginFailed[] = "Login failed";
inline constexpr char kPinEntryCancelled[] = "The PIN entry on the reader was cancelled";
inline constexpr char kInsufficientMemory[] = "Insufficient memory";
inline constexpr char kMechanismsUnreadable[] = "Failed to read the token's mechanisms";
inline constexpr char kCertificateQueryNotStarted[] =
    "Error initialising the query for certificates";
inline constexpr char kCertificateQueryFailed[] = "Error quering token for certificates";
inline constexpr char kPublicKeysQueryNotFinished[] = "Error finalising the public keys query";
inline constexpr char kCertificateNotFound[] = "Unable to find cerificate with sn:";
inline constexpr char kCertificateIdSizeUnreadable[] = "Failed to get certificate id size";
inline constexpr char kCertificateIdUnreadable[] = "Failed to get certificate id value";
inline constexpr char kCertificateKeyQueryNotStarted[] =
    "Error initialising the query for certificate key";
inline constexpr char kCertificateKeyQueryFailed[] = "Error quering token for certificate key";
inline constexpr char kCertificateKeyNotFound[] = "Error unable to find certificate key";
inline constexpr char kCertificateFieldLengthsUnreadable[] =
    "Failed to get certificate filelds lengths";
inline constexpr char kCertificateFieldsUnreadable[] = "Failed to get certificate filelds values";
inline constexpr char kCertificateContentLengthUnreadable[] =
    "Failed to get certificate content length";
inline constexpr char kCertificateContentUnreadable[] = "Failed to get certificate content value";
inline constexpr char kNeverExtractableUnreadable[] =
    "Failed to get secretKey never-extractable attribute value";
inline constexpr char kKeyIdSizeUnreadable[] = "Failed to get key id size";
inline constexpr char kKeyIdUnreadable[] = "Failed to get key id value";
inline constexpr char kKeyQueryNotFinished[] = "Error finalising the key query";
inline constexpr char kKeyAttributeSizesUnreadable[] = "Failed to get key attrutes sizes";
inline constexpr char kKeyAttributesUnreadable[] = "Failed to get key attributes values";
inline constexpr char kRsaKeySizesUnreadable[] =
    "Error retrieving RSA PK modulus and exponent sizes";
inline constexpr char kRsaKeyUnreadable[] = "Error retrieving RSA PK modulus and exponent values";
inline constexpr char kPublicKeyIdSizeUnreadable[] = "Failed to get public key id size";
inline constexpr char kPublicKeyIdUnreadable[] = "Failed to get public key id value";
inline constexpr char kPublicKeyAttributesUnreadable[] =
    "Failed to read the public key's attributes";
inline constexpr char kKeyIdNotGenerated[] = "Failed to generate a key identifier";
inline constexpr char kRandomPinNotGenerated[] = "Failed to generate a random PIN";
inline constexpr char kKeyPairNotGenerated[] = "Failed to generate keypair on the token";
inline constexpr char kCertificateNotImported[] = "Error importing certificate on the token";
inline constexpr char kTokenNotFormatted[] = "Failed to format the token";
inline constexpr char kPinNotSet[] = "Failed to set token PIN";
inline constexpr char kPrivateKeyTypeUnreadable[] = "Failed to read the private key's type";
inline constexpr char kNoRsaSigning[] = "The token offers no RSA signing mechanism";
inline constexpr char kNoEcdsaSigning[] = "The token offers no ECDSA signing mechanism";
inline constexpr char kKeyTypeNotSigning[] = "Unsupported key type for signing";
inline constexpr char kDigestFailed[] = "Failed to compute the SHA-256 digest of the data";
inline constexpr char kSignatureLengthUnknown[] = "Failed to determine the signature length";
inline constexpr char kSignatureFailed[] = "Failed to generate signature";
inline constexpr char kSignatureMemory[] = "Failed to re-allocate memory for the signatiure";
inline constexpr char kKeyNeedsPin[] = "The key needs its PIN for every signature";
inline constexpr char kSigningNotStarted[] = "Failed to init signatiure generation";
inline constexpr char kCsrEcKeyUnsupported[] = "Unsupported EC public key for the CSR";
inline constexpr char kCsrEcSignatureUnsupported[] = "Unsupported EC signature for the CSR";
inline constexpr char kRsaPublicKeyUnreadable[] = "Error extracting the RSA public key";
inline constexpr char kCsrRsaSizeUnsupported[] = "Unsupported RSA key size for the CSR";
