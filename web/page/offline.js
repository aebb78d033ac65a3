// The site keeps its files for use with no network through its service
// worker, once the page has started; the one-file page, opened from disk or
// a mail, has nothing of the kind. A page that cannot keep them works on.
import { announce } from './dialogs.js';

// A new build found on a visit takes over the files at once, and this page,
// started from the old ones, says that the next start brings it.
export function keepForOffline() {
    const isSite = document.querySelector('link[rel="manifest"]');
    if (!isSite || !('serviceWorker' in navigator) || !/^https?:$/.test(location.protocol))
        return;
    const hadWorker = navigator.serviceWorker.controller !== null;
    navigator.serviceWorker.addEventListener('controllerchange', () => {
        if (hadWorker)
            announce('A new version of Tessaldo is ready: it starts the next time this page is opened or reloaded.');
    });
    navigator.serviceWorker.register('sw.js')
        .catch((error) => console.warn(`Tessaldo will not work offline: ${error.message}`));
}
