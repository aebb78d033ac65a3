// The site keeps its files for use with no network through its service
// worker, once the page has started; the one-file page, opened from disk or
// a mail, has nothing of the kind. A page that cannot keep them works on.
export function keepForOffline() {
    const isSite = document.querySelector('link[rel="manifest"]');
    if (isSite && 'serviceWorker' in navigator && /^https?:$/.test(location.protocol)) {
        navigator.serviceWorker.register('sw.js')
            .catch((error) => console.warn(`Tessaldo will not work offline: ${error.message}`));
    }
}
