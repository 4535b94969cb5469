#include "common/log_texts.h"

const char* const kSendFailureLine = "Unable to send data or no response from the device - Try again";
const char* const kCheckChannelLine = "Check the selected channel configuration";
const char* const kRefusedLine = "Unable to perform the measurement - Check the probe connection and try again";
