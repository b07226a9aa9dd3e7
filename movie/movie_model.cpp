#include "movie/movie_model.h"

namespace vellumo::movie {

QStringList Movie::pictures() const {
    QStringList names;
    for (const Layer& layer : layers) {
        if (layer.kind == LayerKind::Image && !names.contains(layer.picture)) {
            names.append(layer.picture);
        }
        if (layer.mask.kind == MaskKind::Picture && !names.contains(layer.mask.picture)) {
            names.append(layer.mask.picture);
        }
    }
    return names;
}

QString Movie::picturePath(const QString& picture) const {
    return folder + picture;
}

}  // namespace vellumo::movie
