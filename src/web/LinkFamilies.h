#pragma once

#include "platform/ui/FormDesign.h"
#include "web/UserLinkSlots.h"

#include <QList>

// The three families of user links as the add and remove commands see them.
enum class LinkKind { SearchEngines, Auctions, Favourites };

struct LinkFamilyDesign
{
    LinkKind kind;
    UserLinkFamily family;
    // The add dialog (SLink, ALink, FavLink).
    FormDesign addDialog;
    // The caption the add command gives its dialog before each show; "" keeps the design's.
    QString addCaption;
    // The first line of the message that the family is full.
    QString limitLine;
    // The removal dialog's caption that names the family.
    QString removeCaption;
};

namespace LinkFamilies {

const LinkFamilyDesign &of(LinkKind kind);
const QList<LinkKind> &kinds();
// The family the removal dialog works on for its caption: the auctions for any caption that
// names neither of the others.
LinkKind byRemoveCaption(const QString &caption);

} // namespace LinkFamilies
