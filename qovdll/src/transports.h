// The concrete transports behind openTransport().
#pragma once

#include <memory>
#include <string>

#include "qovdll/transport.h"

namespace qovdll {

OpenResult openTcpTransport(const std::string& address, int timeoutMs,
                            std::unique_ptr<Transport>& transport, std::string& reason);
OpenResult openSerialTransport(const std::string& device, int speed,
                               std::unique_ptr<Transport>& transport, std::string& reason);

}  // namespace qovdll
