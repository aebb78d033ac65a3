// The page's scripts, its service worker and the page checks, with ESLint's
// recommended rules and the globals of where each runs.
import js from '@eslint/js';
import globals from 'globals';

export default [
    js.configs.recommended,
    {
        // The core's script defines TessaldoCore, in the page and in the worker that reads a source apart.
        files: ['web/page/*.js'],
        languageOptions: { sourceType: 'module',
            globals: { ...globals.browser, ...globals.worker, TessaldoCore: 'readonly' } },
    },
    {
        files: ['web/site/*.js'],
        languageOptions: { sourceType: 'script', globals: { ...globals.serviceworker } },
    },
    {
        files: ['tests/web/*.mjs'],
        languageOptions: { sourceType: 'module', globals: { ...globals.node, ...globals.browser } },
    },
];
