// The error texts the handlers give of their own (logins a request needs,
// what a token cannot do for an action).
//
// Each text reaches the page in a reply's "error" member, and pages match on
// it, so its spelling (typos included) is frozen: change a text only together
// with every page that reads it. Some are the start or the end of a longer
// text, a name or a number going between.
// Each text is written once in src/, here (tests/wire_texts checks that).
#pragma once

inline constexpr char kLoginToSign[] = "Must login before being able to sign";
inline constexpr char kExtractableKeyRefused[] = "Cannot use extractable private key for signing";
inline constexpr char kNoRsa2048Generation[] = "The token cannot generate RSA-2048 key pairs";
inline constexpr char kNoEcP256Generation[] = "The token cannot generate EC P-256 key pairs";
inline constexpr char kNoEcP384Generation[] = "The token cannot generate EC P-384 key pairs";
inline constexpr char kWriteLoginToGenerate[] =
    "Need to be logged in in rw mode to token to be able to generate keypair";
inline constexpr char kWriteLoginToDeleteCertificate[] =
    "Must login to the token in write mode to be able to delete certificate";
inline constexpr char kWriteLoginToDeleteOrphans[] =
    "Must login in write mode first to be able to delete orphan keys";
inline constexpr char kWriteLoginToImport[] =
    "Must login in write mode to be able to import certificate";
inline constexpr char kLoginFirst[] = "Must login first";
inline constexpr char kLoggedInToOtherToken[] = "Logged in to diferent token";
inline constexpr char kOrphansNotDeleted[] = "Failed to delete ";
inline constexpr char kOrphansNotDeletedEnd[] = " orphan keys";
inline constexpr char kCertificateNotDeleted[] = "Failed to delete certificate";
inline constexpr char kNoActiveToken[] = "There is no active token";
inline constexpr char kNotImplemented[] = "Not Implemented";
inline constexpr char kCertificateKeyMissing[] = "Can't find certificate public key on the token";
