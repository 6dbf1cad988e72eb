#pragma once
// Texts of the image run-time layer that hosts see as error descriptions.
#include <string>

namespace ramvel {

inline const std::u16string kStreamReadError = u"Erreur de lecture du flux";
inline const std::u16string kInvalidBitmap = u"Image de bitmap non valide";
inline const std::u16string kInvalidIcon = u"Image d'icône non valide";
inline const std::u16string kInvalidImageSize = u"Taille de l'image non valide";
inline const std::u16string kCannotReplaceImage = u"Impossible de remplacer l'image";

}  // namespace ramvel
