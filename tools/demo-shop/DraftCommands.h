#pragma once

#include "Answer.h"
#include "ShopContext.h"

#include <QByteArray>

// Drafted orders sent by the trader: each is checked and either taken as a new order, taken
// as the change of an existing one, or refused with the reason.
namespace DraftCommands {

// payload: the "VUZUDOVAZE" document.
Answer applyOrdersUpdate(ShopContext& context, const QByteArray& payload);

} // namespace DraftCommands
