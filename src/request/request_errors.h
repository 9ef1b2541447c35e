// The error texts of requests that do not hold what their action needs.
//
// Each text reaches the page in a reply's "error" member, and pages match on
// it, so its spelling (typos included) is frozen: change a text only together
// with every page that reads it. Some are the start or the end of a longer
// text, a name or a number going between.
// Each text is written once in src/, here (tests/wire_texts checks that).
#pragma once

inline constexpr char kActionMissing[] = "Missing request 'action' property";
inline constexpr char kActionNotText[] = "Invalid 'action' property type";
inline constexpr char kActionUnknown[] = "Unknown 'action' value : ";
inline constexpr char kKeyTypeInvalid[] = "Get orphan key reqyest - invalid keyType value ";
inline constexpr char kStringMemberMissing[] = "Missing mandatory JSON object string property ";
inline constexpr char kStringMemberExpected[] = "Expected JSON object string property ";
inline constexpr char kStringMemberExpectedEnd[] = " but got something else";
inline constexpr char kBooleanMemberMissing[] = "Missing mandatory JSON object boolean property ";
inline constexpr char kPayloadMissing[] = "Missing mandatory JSON object property 'payload'";
inline constexpr char kPayloadType[] = "Invalid JSON 'payload' property type";
inline constexpr char kAlgorithmInvalid[] = "Generate key pair request - invalid algorithm value ";
inline constexpr char kResultInvalid[] = "Generate key pair request - invalid result type ";
