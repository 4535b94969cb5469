// Log lines that several windows write in the same words.
#pragma once

// The line every window logs when a frame cannot be written.
extern const char* const kSendFailureLine;
// The line that points the user to the channel box after a failed channel exchange.
extern const char* const kCheckChannelLine;
// The line the meter and the station windows log when the instrument answers "ER".
extern const char* const kRefusedLine;
