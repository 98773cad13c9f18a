#include "engine/baidu/VcodeImage.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QUrl>
#include <cerrno>

#include "engine/net/CurlTransfer.h"
#include "engine/net/HttpError.h"

namespace {

const QString kError = QString::fromLatin1(kVcodeImageError);

// A directory only this user can enter: the runtime directory when there is one, else a
// per-user directory under the temporary directory, refused if someone else made it.
QString PrivateDirectory() {
    QString base = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (base.isEmpty() || !QDir(base).exists())
        base = QDir::tempPath() + QStringLiteral("/quimb-%1").arg(::getuid());
    else
        base += QStringLiteral("/quimb");
    const QByteArray path = QFile::encodeName(base);
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) return {};
    struct stat info {};
    if (::lstat(path.constData(), &info) != 0 || !S_ISDIR(info.st_mode) ||
        info.st_uid != ::getuid() || (info.st_mode & 0077) != 0)
        return {};
    return base;
}

}  // namespace

QString VcodeImagePath() {
    const QString directory = PrivateDirectory();
    return directory.isEmpty() ? QString() : directory + QStringLiteral("/vcode.gif");
}

QString DownloadVcodeImage(const QString& address) {
    if (address.isEmpty()) return kError;
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid() || url.scheme() != QLatin1String("http") || url.host().isEmpty())
        return kError;

    TransferRequest request;
    request.url = address.toUtf8();
    request.keepOnlyStatus200 = true;
    QByteArray bytes;
    request.rawBody = &bytes;
    QString unused;
    const TransferResult result = PerformTransfer(request, unused, nullptr);
    if (result.status != 200 && result.status != 0) return kError;
    if (result.code != 0) throw HttpError(result.code, result.error);
    const QString path = VcodeImagePath();
    if (path.isEmpty()) return kError;

    const QByteArray file = QFile::encodeName(path);
    const int fd =
        ::open(file.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return kError;
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + written,
                                  static_cast<std::size_t>(bytes.size() - written));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ::close(fd);
            return kError;
        }
        written += n;
    }
    return ::close(fd) == 0 ? path : kError;
}
